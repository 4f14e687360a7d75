// Resource numbers of the dialog templates.
#pragma once

constexpr int kMainMenuDialog = 102;
constexpr int kResultsDialog = 109;
constexpr int kSearchFormDialog = 126;
constexpr int kGrapesDialog = 128;
constexpr int kTemperatureDialog = 129;
constexpr int kCreditsDialog = 132;
constexpr int kHelpIndexDialog = 136;
constexpr int kHelpPageDialog = 137;
