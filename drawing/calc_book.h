#pragma once
// The calculation book (计算书): an A4 PDF of one calculation with its input,
// drawings, internal forces, reinforcement and equilibrium check. Every page
// is headed with the frame name and the date and numbered; tables that run
// across pages repeat their headers; the CJK font is embedded. The steel of
// the reinforcement tables is the report's, number for number.
#include "analysis/frame_data.h"
#include "calc/calculation.h"
#include "calc/envelope.h"

#include <QByteArray>

#include <filesystem>
#include <string>

namespace kjd {

struct BookOptions {
    std::string date; // as the page heads show it; empty: today, in the report's short form
    // From load cases: result is the envelope's calculation; the book draws
    // every case's loads, the M and V envelopes and every case's moments.
    const kj::EnvelopeResult* envelope = nullptr;
};

// The whole PDF.
QByteArray calculationBookPdf(const kj::CalculationResult& result, const kj::FrameData& data,
                              const BookOptions& options = {});

// Writes the PDF to path, replacing the file whole. Throws kj::Failure when
// the file cannot be written.
void writeCalculationBook(const kj::CalculationResult& result, const kj::FrameData& data,
                          const std::filesystem::path& path, const BookOptions& options = {});

// The section titles, in order.
inline constexpr const char* kBookSections[] = {"1 工程信息", "2 输入数据", "3 计算简图及荷载",
                                                "4 内力",     "5 配筋",     "6 平衡校核"};

} // namespace kjd
