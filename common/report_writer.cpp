#include "common/report_writer.h"

#include "common/failure.h"
#include "common/numbers.h"
#include "common/text.h"

#include <cmath>
#include <string>

namespace kj {

ReportWriter& ReportWriter::text(std::string_view s)
{
    out_ += s;
    col_ += static_cast<int>(charCount(s));
    return *this;
}

ReportWriter& ReportWriter::number(double x)
{
    if (!std::isfinite(x)) throw Failure("计算结果超出数值范围, 请检查数据文件中的尺寸和荷载");
    return text(reportNumber(x));
}

ReportWriter& ReportWriter::column(int n)
{
    if (n < 1) n = 1;
    if (col_ > n && fixed_) {
        const std::size_t lineStart = out_.rfind('\n');
        const std::string line = out_.substr(lineStart == std::string::npos ? 0 : lineStart + 1);
        throw Failure("报告表格的一行放不下计算结果 (第 " + std::to_string(n) + " 列前已写到第 " + std::to_string(col_) +
                      " 列): " + quoteForMessage(line));
    }
    if (col_ > n) endLine();
    if (col_ < n) {
        out_.append(static_cast<std::size_t>(n - col_), ' ');
        col_ = n;
    }
    return *this;
}

ReportWriter& ReportWriter::endLine()
{
    out_ += CRLF;
    col_ = 1;
    return *this;
}

std::string ReportWriter::take()
{
    std::string s;
    s.swap(out_);
    return s;
}

} // namespace kj
