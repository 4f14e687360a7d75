#include "platform/data/static_plan.h"

#include <vector>

#include "platform/data/engine.h"

namespace ado {

namespace {

bool isWordChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
           c == u'$' || c >= 0x80;
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v';
}

struct Token {
    enum Kind { Word, QuotedName, String, Mark } kind;
    std::size_t begin;
    std::size_t end;
    int depth; // parentheses around it
};

// Splits the text into words, quoted names, strings and single marks. Nothing for what the
// recogniser does not need to understand: comments, parameters, unbalanced parentheses or quotes.
std::optional<std::vector<Token>> tokens(std::u16string_view sql) {
    std::vector<Token> result;
    int depth = 0;
    std::size_t i = 0;
    while (i < sql.size()) {
        const char16_t c = sql[i];
        if (isBlank(c)) {
            ++i;
            continue;
        }
        const std::size_t begin = i;
        if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
            const char16_t close = c == u'[' ? u']' : c;
            for (++i;; ++i) {
                if (i >= sql.size()) return std::nullopt;
                if (sql[i] != close) continue;
                if (close != u']' && i + 1 < sql.size() && sql[i + 1] == close) {
                    ++i; // a doubled quote stands for itself
                    continue;
                }
                break;
            }
            ++i;
            result.push_back({c == u'\'' ? Token::String : Token::QuotedName, begin, i, depth});
            continue;
        }
        if (isWordChar(c) && c != u'$') {
            while (i < sql.size() && isWordChar(sql[i]))
                ++i;
            result.push_back({Token::Word, begin, i, depth});
            continue;
        }
        if (c == u'?' || c == u':' || c == u'@' || c == u'$') return std::nullopt;
        if (c == u'-' && i + 1 < sql.size() && sql[i + 1] == u'-') return std::nullopt;
        if (c == u'/' && i + 1 < sql.size() && sql[i + 1] == u'*') return std::nullopt;
        if (c == u'(') ++depth;
        if (c == u')' && --depth < 0) return std::nullopt;
        result.push_back({Token::Mark, begin, i + 1, c == u'(' ? depth - 1 : depth});
        ++i;
    }
    if (depth != 0) return std::nullopt;
    return result;
}

class Reader {
  public:
    Reader(std::u16string_view sql, std::vector<Token> tokens) : sql_(sql), tokens_(std::move(tokens)) {}

    bool atEnd() const { return next_ >= tokens_.size(); }
    const Token& peek() const { return tokens_[next_]; }
    std::u16string_view text(const Token& t) const { return sql_.substr(t.begin, t.end - t.begin); }
    bool peekWord(std::u16string_view word) const {
        return !atEnd() && peek().kind == Token::Word && sameIgnoringAsciiCase(text(peek()), word);
    }
    bool peekMark(char16_t mark) const {
        return !atEnd() && peek().kind == Token::Mark && sql_[peek().begin] == mark;
    }
    bool word(std::u16string_view w) { return peekWord(w) && (++next_, true); }
    bool mark(char16_t m) { return peekMark(m) && (++next_, true); }
    // A column or table name: a word that is not a number, or a quoted name.
    std::optional<Token> name() {
        if (atEnd()) return std::nullopt;
        const Token t = peek();
        if (t.kind == Token::QuotedName || (t.kind == Token::Word && !(sql_[t.begin] >= u'0' && sql_[t.begin] <= u'9'))) {
            ++next_;
            return t;
        }
        return std::nullopt;
    }
    std::size_t position() const { return next_; }
    void skip() { ++next_; }
    void dropTrailingSemicolons() {
        while (!tokens_.empty() && tokens_.back().kind == Token::Mark && sql_[tokens_.back().begin] == u';')
            tokens_.pop_back();
    }
    bool anySemicolon() const {
        for (const Token& t : tokens_)
            if (t.kind == Token::Mark && sql_[t.begin] == u';') return true;
        return false;
    }
    // The source text from token `first` up to (not including) token `last`.
    std::u16string_view span(std::size_t first, std::size_t last) const {
        if (first >= last) return {};
        return sql_.substr(tokens_[first].begin, tokens_[last - 1].end - tokens_[first].begin);
    }

  private:
    std::u16string_view sql_;
    std::vector<Token> tokens_;
    std::size_t next_ = 0;
};

// Words that would end the WHERE or give the statement another meaning than a filter.
bool endsTheFilter(std::u16string_view word) {
    for (const char16_t* keyword : {u"SELECT", u"FROM", u"WHERE", u"GROUP", u"HAVING", u"ORDER", u"LIMIT",
                                    u"OFFSET", u"UNION", u"EXCEPT", u"INTERSECT", u"WINDOW", u"VALUES"})
        if (sameIgnoringAsciiCase(word, keyword)) return true;
    return false;
}

std::u16string unquoted(std::u16string_view name) {
    if (name.size() >= 2 && (name.front() == u'"' || name.front() == u'`' || name.front() == u'['))
        return std::u16string(name.substr(1, name.size() - 2));
    return std::u16string(name);
}

} // namespace

std::optional<StaticPlan> staticPlanFor(std::u16string_view sql) {
    std::optional<std::vector<Token>> list = tokens(sql);
    if (!list) return std::nullopt;
    Reader read(sql, std::move(*list));
    read.dropTrailingSemicolons();
    if (read.anySemicolon()) return std::nullopt;

    if (!read.word(u"SELECT") || !read.mark(u'*') || !read.word(u"FROM")) return std::nullopt;
    const std::optional<Token> table = read.name();
    if (!table || endsTheFilter(read.text(*table))) return std::nullopt;

    std::u16string_view filter;
    if (read.word(u"WHERE")) {
        const std::size_t first = read.position();
        while (!read.atEnd() && !(read.peek().depth == 0 && read.peek().kind == Token::Word &&
                                  endsTheFilter(read.text(read.peek()))))
            read.skip();
        filter = read.span(first, read.position());
        if (filter.empty()) return std::nullopt;
    }
    // Only a statement that sorts gains; one that does not already stops at the rows read.
    if (!read.word(u"ORDER") || !read.word(u"BY")) return std::nullopt;
    const std::size_t orderFirst = read.position();
    do {
        if (!read.name()) return std::nullopt;
        if (read.mark(u'.') && !read.name()) return std::nullopt;
        if (read.word(u"COLLATE") && !read.name()) return std::nullopt;
        if (!read.word(u"ASC")) read.word(u"DESC");
    } while (read.mark(u','));
    if (!read.atEnd()) return std::nullopt;
    const std::u16string order(read.span(orderFirst, read.position()));

    StaticPlan plan;
    plan.table = unquoted(read.text(*table));
    plan.from = u" FROM " + std::u16string(read.text(*table));
    plan.where = filter.empty() ? std::u16string() : u" WHERE " + std::u16string(filter);
    plan.order = order;
    plan.countSql = u"SELECT count(*)" + plan.from + plan.where;
    return plan;
}

std::u16string StaticPlan::windowSql(std::u16string_view tieOrder) const {
    const std::u16string orderBy = u" ORDER BY " + order + u", " + std::u16string(tieOrder);
    return u"SELECT *" + from + u" WHERE rowid IN (SELECT rowid" + from + where + orderBy +
           u" LIMIT ?1 OFFSET ?2)" + orderBy;
}

std::u16string StaticPlan::orderedIdsSql(std::u16string_view tieOrder) const {
    return u"SELECT rowid" + from + where + u" ORDER BY " + order + u", " + std::u16string(tieOrder);
}

std::u16string StaticPlan::rowSql() const {
    return u"SELECT *" + from + u" WHERE rowid = ?1";
}

PlanLine readPlanLine(std::u16string_view line, std::u16string_view table) {
    const std::u16string scan = u"SCAN " + std::u16string(table);
    auto startsWith = [line](std::u16string_view start) {
        return line.size() >= start.size() && sameIgnoringAsciiCase(line.substr(0, start.size()), start);
    };
    if (sameIgnoringAsciiCase(line, u"USE TEMP B-TREE FOR ORDER BY")) return {PlanLine::Sort, {}};
    if (sameIgnoringAsciiCase(line, scan) || startsWith(u"SEARCH " + std::u16string(table) + u" USING INTEGER PRIMARY KEY ("))
        return {PlanLine::RowIdOrder, {}};
    for (const char16_t* kind : {u" USING INDEX ", u" USING COVERING INDEX "}) {
        const std::u16string start = scan + kind;
        if (startsWith(start) && line.size() > start.size() &&
            line.substr(start.size()).find(u' ') == std::u16string_view::npos)
            return {PlanLine::IndexOrder, std::u16string(line.substr(start.size()))};
    }
    return {};
}

} // namespace ado
