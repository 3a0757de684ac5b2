// Accelerator marks taken out of captions.
#include <gtest/gtest.h>

#include "controls/sctext.h"

namespace {

TEST(RemoveAccelerators, DropsSingleMarksAndHalvesDoubledOnes) {
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"", ""},        {"&File", "File"},  {"&&File", "&File"}, {"Save &As", "Save As"},
        {"R&&D", "R&D"}, {"Tail&", "Tail&"},  // the last character always stays
        {"&", "&"},      {"&&", "&"},        {"&&&x", "&x"},      {"plain", "plain"},
    };
    for (const auto& row : rows) EXPECT_EQ(RemoveAccelerators(row.in), row.out) << row.in;
}

}  // namespace
