#include "common/report_writer.h"

#include "common/failure.h"
#include "common/numbers.h"
#include "common/text.h"

#include <cmath>

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
