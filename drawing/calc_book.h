#pragma once
// The calculation book (计算书): an A4 PDF of one calculation with its input,
// drawings, internal forces, reinforcement and equilibrium check. Every page
// is headed with the frame name and the date and numbered; tables that run
// across pages repeat their headers; the CJK font is embedded. The steel of
// the reinforcement tables is the report's, number for number.
#include "analysis/frame_data.h"
#include "calc/calculation.h"
#include "calc/envelope.h"
#include "calc/seismic_action.h"
#include "calc/title_block.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

#include <filesystem>
#include <string>

namespace kjd {

struct BookOptions {
    std::string date; // as the page heads show it; empty: today, in the report's short form
    // From load cases: result is the envelope's calculation; the book draws
    // every case's loads, the M and V envelopes and every case's moments.
    const kj::EnvelopeResult* envelope = nullptr;
    // The earthquake of a seismic design: the book gains "地震作用计算".
    const kj::SeismicAction* seismic = nullptr;
    // The title block of the first page (blank fields stay blank).
    kj::TitleBlock title;
    // 构件设计: the formulas for every beam section and column end, not only
    // the governing section of each member.
    bool everyMember = false;
};

// Every text the book prints in its tables and drawings, in order: for
// checks of what a reviewer reads (rounding, no value left out).
struct BookTexts {
    std::vector<QStringList> tableRows;      // every row of every table, the header first
    std::vector<QString> drawingTexts;       // every label drawn
    int droppedValues = 0;                   // values no drawing could place (each listed beside its drawing)
    int listedValues = 0;                    // rows of those lists
};
BookTexts calculationBookTexts(const kj::CalculationResult& result, const kj::FrameData& data,
                               const BookOptions& options = {});

// The whole PDF.
QByteArray calculationBookPdf(const kj::CalculationResult& result, const kj::FrameData& data,
                              const BookOptions& options = {});

// Writes the PDF to path, replacing the file whole. Throws kj::Failure when
// the file cannot be written.
void writeCalculationBook(const kj::CalculationResult& result, const kj::FrameData& data,
                          const std::filesystem::path& path, const BookOptions& options = {});

// The book of a run, as the run's book hook calls it (kj::CalcRequest::pdfWriter):
// the envelope, the earthquake and the title block when the run has them.
void writeRunBook(const kj::CalculationResult& result, const kj::FrameData& data, const kj::EnvelopeResult* envelope,
                  const kj::SeismicAction* seismic, const kj::TitleBlock& title, const std::filesystem::path& path);

// The section titles, in order. A seismic design adds "10 地震作用计算" and a
// GB 50010-2010 design "正常使用极限状态验算" before the conclusion, which
// then takes the next number.
inline constexpr const char* kBookSections[] = {"1 设计依据", "2 材料",     "3 输入数据", "4 荷载",
                                                "5 荷载组合", "6 内力",     "7 配筋",     "8 构件设计",
                                                "9 平衡校核", "10 结论"};

} // namespace kjd
