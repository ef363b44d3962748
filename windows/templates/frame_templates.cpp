#include "templates/frame_templates.h"

namespace kj {

const std::vector<FramePlace>& framePlaces()
{
    using enum PlaceKind;
    static const std::vector<FramePlace> places{
        {Span, 0, 1, "Text5", "Text69", "", 0, "第 1 跨跨长"},
        {Span, 0, 2, "Text70", "Text71", "", 0, "第 2 跨跨长"},
        {Span, 0, 3, "Text72", "Text73", "", 0, "第 3 跨跨长"},
        {Storey, 1, 1, "Text74", "Text75", "", 0, "上层层高"},
        {Storey, 2, 2, "Text76", "Text77", "", 0, "下层层高"},
        {Beam, 1, 1, "Text32", "Text33", "Text6", 1, "上层第 1 跨梁"},
        {Beam, 1, 2, "Text38", "Text39", "Text7", 2, "上层第 2 跨梁"},
        {Beam, 1, 3, "Text42", "Text43", "Text10", 3, "上层第 3 跨梁"},
        {Beam, 2, 1, "Text46", "Text47", "Text27", 4, "下层第 1 跨梁"},
        {Beam, 2, 2, "Text52", "Text53", "Text29", 5, "下层第 2 跨梁"},
        {Beam, 2, 3, "Text56", "Text57", "Text31", 6, "下层第 3 跨梁"},
        {Column, 1, 1, "Text34", "Text35", "", 1, "上层第 1 根柱"},
        {Column, 1, 2, "Text36", "Text37", "", 2, "上层第 2 根柱"},
        {Column, 1, 3, "Text40", "Text41", "", 3, "上层第 3 根柱"},
        {Column, 1, 4, "Text44", "Text45", "", 4, "上层第 4 根柱"},
        {Column, 2, 1, "Text48", "Text49", "", 5, "下层第 1 根柱"},
        {Column, 2, 2, "Text50", "Text51", "", 6, "下层第 2 根柱"},
        {Column, 2, 3, "Text54", "Text55", "", 7, "下层第 3 根柱"},
        {Column, 2, 4, "Text58", "Text59", "", 8, "下层第 4 根柱"},
    };
    return places;
}

const FramePlace* placeOfBox(std::string_view box)
{
    if (box.empty()) return nullptr;
    for (const FramePlace& p : framePlaces())
        if (box == p.entry || box == p.value || box == p.load) return &p;
    return nullptr;
}

namespace {

FrameTemplate makeTemplate(int spans, int storeys)
{
    FrameTemplate t{spans, storeys, {}, {}, {}};
    const auto take = [&](PlaceKind kind, std::vector<const FramePlace*>& into) {
        for (const FramePlace& p : framePlaces()) {
            if (p.kind != kind || p.row > storeys) continue;
            const int last = kind == PlaceKind::Column ? spans + 1 : kind == PlaceKind::Storey ? storeys : spans;
            if (p.index <= last) into.push_back(&p);
        }
    };
    take(PlaceKind::Span, t.lengths);
    take(PlaceKind::Storey, t.lengths);
    take(PlaceKind::Beam, t.beams);
    take(PlaceKind::Column, t.columns);
    return t;
}

} // namespace

const std::array<FrameTemplate, kFrameTemplateCount>& frameTemplates()
{
    static const std::array<FrameTemplate, kFrameTemplateCount> templates{
        makeTemplate(1, 1), makeTemplate(2, 1), makeTemplate(3, 1),
        makeTemplate(1, 2), makeTemplate(2, 2), makeTemplate(3, 2),
    };
    return templates;
}

const FrameTemplate* findTemplate(double spans, double storeys)
{
    for (const FrameTemplate& t : frameTemplates())
        if (spans == t.spans && storeys == t.storeys) return &t;
    return nullptr;
}

std::string FrameTemplate::name() const
{
    return std::to_string(spans) + "-" + std::to_string(storeys);
}

std::vector<const char*> FrameTemplate::lengthBoxes() const
{
    std::vector<const char*> out;
    for (const FramePlace* p : lengths) out.push_back(p->entry);
    return out;
}

std::vector<const char*> FrameTemplate::memberBoxes() const
{
    std::vector<const char*> out;
    for (const FramePlace* p : beams) out.push_back(p->entry);
    for (const FramePlace* p : columns) out.push_back(p->entry);
    return out;
}

std::vector<const char*> FrameTemplate::loadBoxes() const
{
    std::vector<const char*> out;
    for (const FramePlace* p : beams) out.push_back(p->load);
    return out;
}

std::vector<const char*> FrameTemplate::shownBoxes(bool withLoads) const
{
    std::vector<const char*> out;
    for (const auto* list : {&lengths, &beams, &columns})
        for (const FramePlace* p : *list) {
            out.push_back(p->entry);
            out.push_back(p->value);
            if (withLoads && *p->load) out.push_back(p->load);
        }
    return out;
}

std::vector<int> FrameTemplate::beamPositions() const
{
    std::vector<int> out;
    for (const FramePlace* p : beams) out.push_back(p->viewerPosition);
    return out;
}

std::vector<int> FrameTemplate::columnPositions() const
{
    std::vector<int> out;
    for (const FramePlace* p : columns) out.push_back(p->viewerPosition);
    return out;
}

} // namespace kj
