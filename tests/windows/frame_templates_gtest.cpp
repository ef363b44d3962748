// The one table of the six frame templates: counts, unique boxes, and the
// orders the files and the viewers rely on.
#include "templates/frame_templates.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

Names names(const std::vector<const char*>& boxes)
{
    return {boxes.begin(), boxes.end()};
}

TEST(FrameTemplates, EachTemplateHasItsMembersOnceInFileOrder)
{
    const char* expectedNames[] = {"1-1", "2-1", "3-1", "1-2", "2-2", "3-2"};
    for (int k = 0; k < kj::kFrameTemplateCount; ++k) {
        const kj::FrameTemplate& t = kj::frameTemplates()[static_cast<std::size_t>(k)];
        SCOPED_TRACE(t.name());
        EXPECT_EQ(t.name(), expectedNames[k]);
        EXPECT_EQ(kj::findTemplate(t.spans, t.storeys), &t);
        EXPECT_EQ(t.lengths.size(), static_cast<std::size_t>(t.spans + t.storeys));
        EXPECT_EQ(t.beams.size(), static_cast<std::size_t>(t.spans * t.storeys));
        EXPECT_EQ(t.columns.size(), static_cast<std::size_t>((t.spans + 1) * t.storeys));

        // Members row by row from the top, left to right: the viewers'
        // positions rise in the same order, upper groups 1-3, lower 4-6.
        int last = 0;
        for (const kj::FramePlace* b : t.beams) {
            EXPECT_EQ(b->viewerPosition, 3 * (b->row - 1) + b->index);
            EXPECT_GT(b->viewerPosition, last);
            last = b->viewerPosition;
        }
        last = 0;
        for (const kj::FramePlace* c : t.columns) {
            EXPECT_EQ(c->viewerPosition, 4 * (c->row - 1) + c->index);
            EXPECT_GT(c->viewerPosition, last);
            last = c->viewerPosition;
        }
    }
    EXPECT_EQ(kj::findTemplate(4, 1), nullptr);
    EXPECT_EQ(kj::findTemplate(2.5, 1), nullptr);
    EXPECT_EQ(kj::findTemplate(1, 3), nullptr);

    // The data file's order for the largest frame, box by box.
    const kj::FrameTemplate& big = *kj::findTemplate(3, 2);
    EXPECT_EQ(names(big.lengthBoxes()), (Names{"Text5", "Text70", "Text72", "Text74", "Text76"}));
    EXPECT_EQ(names(big.memberBoxes()),
              (Names{"Text32", "Text38", "Text42", "Text46", "Text52", "Text56", "Text34", "Text36", "Text40",
                     "Text44", "Text48", "Text50", "Text54", "Text58"}));
    EXPECT_EQ(names(big.loadBoxes()), (Names{"Text6", "Text7", "Text10", "Text27", "Text29", "Text31"}));
    // A one-storey frame takes the upper row and the upper storey's height.
    const kj::FrameTemplate& low = *kj::findTemplate(2, 1);
    EXPECT_EQ(names(low.lengthBoxes()), (Names{"Text5", "Text70", "Text74"}));
    EXPECT_EQ(names(low.memberBoxes()), (Names{"Text32", "Text38", "Text34", "Text36", "Text40"}));
}

TEST(FrameTemplates, EveryBoxBelongsToOnePlace)
{
    std::set<std::string> seen;
    for (const kj::FramePlace& p : kj::framePlaces()) {
        for (const char* box : {p.entry, p.value, p.load}) {
            if (!*box) continue;
            EXPECT_TRUE(seen.insert(box).second) << box;
            EXPECT_EQ(kj::placeOfBox(box), &p) << box;
        }
        // Only beams carry a load box, only beams and columns a viewer place.
        EXPECT_EQ(*p.load != '\0', p.kind == kj::PlaceKind::Beam) << p.entry;
        EXPECT_EQ(p.viewerPosition != 0, p.kind == kj::PlaceKind::Beam || p.kind == kj::PlaceKind::Column);
    }
    EXPECT_EQ(seen.size(), 44u); // 19 entry and 19 value boxes, 6 load boxes
    EXPECT_EQ(kj::placeOfBox("Text60"), nullptr);
    EXPECT_EQ(kj::placeOfBox(""), nullptr);
    // The largest template shows every one of them.
    EXPECT_EQ(kj::findTemplate(3, 2)->shownBoxes(true).size(), 44u);
    EXPECT_EQ(kj::findTemplate(1, 1)->shownBoxes(false).size(), 10u);
}

} // namespace
