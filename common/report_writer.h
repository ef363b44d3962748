#pragma once
// Column-aligned text as the calculation report lays it out: texts, numbers
// in the report's format and moves to a column, counted in characters from
// column 1. Lines end with CR LF.
#include <string>
#include <string_view>

namespace kj {

class ReportWriter {
public:
    // Writes a text unchanged.
    ReportWriter& text(std::string_view s);
    // Writes a number in the report's format (see reportNumber). A value
    // that is not finite is a failure, so nothing unreadable reaches the report.
    ReportWriter& number(double x);
    // Moves to column n: blanks up to column n; when the line is already past
    // column n the line is ended and the next one is filled up to column n;
    // at column n itself nothing is written.
    ReportWriter& column(int n);
    // In a table, every value must fit its column: a move to a column the
    // line is already past is then a failure instead of a line break, so
    // that a row of the report is never split over lines.
    ReportWriter& fixedColumns(bool on)
    {
        fixed_ = on;
        return *this;
    }
    // Ends the current line.
    ReportWriter& endLine();

    const std::string& str() const { return out_; }
    // Takes the text written so far, leaving the writer empty but at the same
    // position on its line.
    std::string take();
    int currentColumn() const { return col_; }

private:
    std::string out_;
    int col_ = 1;
    bool fixed_ = false;
};

} // namespace kj
