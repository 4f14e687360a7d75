// A cheaper plan for the statements a static cursor reads a few rows of: "SELECT * FROM t
// [WHERE …] ORDER BY …". Run as written, SQLite sorts every hit as a whole row and the cursor
// steps through all of them only to count them. The same rows in the same order come from a
// count(*) over the same WHERE (no sort) and from windows of the sorted row ids (SQLite then keeps
// only the top rows while it sorts, and reads whole rows for these alone).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ado {

struct StaticPlan {
    std::u16string table; // as the engine names it
    // One row: the number of rows the statement yields.
    std::u16string countSql;
    // The statement's rows from ?2 on (counted from 0), at most ?1 of them, with rows whose sort
    // keys tie in `tieOrder`: a list of ORDER BY terms, the order in which the statement as written
    // reads the rows it then sorts (its sort keeps that order).
    std::u16string windowSql(std::u16string_view tieOrder) const;
    // Every row id of the statement's rows, in its order: one pass that counts and orders at once,
    // for a filter that must read whole rows anyway (the row ids and keys sort in little space).
    std::u16string orderedIdsSql(std::u16string_view tieOrder) const;
    // The whole row with the row id ?1.
    std::u16string rowSql() const;

    std::u16string from;
    std::u16string where;
    std::u16string order;
};

// The plan for `sql`, or nothing when the statement is not of that shape (it then runs as written).
// Recognises the text only; the caller still checks that the engine accepts both statements and
// learns the tie order from the engine's plan for the original.
std::optional<StaticPlan> staticPlanFor(std::u16string_view sql);

// A line of EXPLAIN QUERY PLAN for the original statement: the sort of its rows, a scan of `table`
// in row-id order, a scan of one of its indexes (named in `index`) in that index's order, or
// anything else (a plan whose order of ties is not known).
struct PlanLine {
    enum Kind { Sort, RowIdOrder, IndexOrder, Other } kind = Other;
    std::u16string index;
};
PlanLine readPlanLine(std::u16string_view line, std::u16string_view table);

} // namespace ado
