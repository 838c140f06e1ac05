#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vsolo::mail {

// The bounds of one parse: the table of cells and the longest resource name it keeps.
inline constexpr std::size_t kMaxCells = 30000;
inline constexpr std::size_t kResourceNameLimit = 1000; // a name this long or longer is refused

// The table of the program's own message bodies: a resource name, SOH SOH, a record count, SOH
// SOH, then records whose columns end in "||" and whose last column ends in SOH SOH. Spaces travel
// as 0x02 and line breaks put in by mail systems are dropped before parsing.
//
// A parse rewrites the caller's buffer in place and the cells point into it, so they are valid
// only while that buffer lives unchanged. A body that cannot be parsed within the bounds above
// leaves the table empty. Cells that the last parse did not fill read as empty texts.
class BodyParser {
public:
    enum class Outcome {
        Parsed,
        NoHeader,            // fewer than two SOH SOH separators
        ResourceNameTooLong, // kResourceNameLimit bytes or more
        TooManyCells,        // the records need more than kMaxCells cells
        BadColumns,          // a column count below 1
    };

    // `buffer` is zero-terminated; it is rewritten as described above.
    Outcome parse(char* buffer, int columns);

    // The record count written in the header of the last parse (0 when it failed).
    int recordCount() const { return m_recordCount; }
    // The column count of the last parse.
    int columns() const { return m_columns; }
    // The resource name of the last parse, "" when it failed.
    const char* resourceName() const { return m_resourceName.c_str(); }
    // The cell of the last parse, "" for any row or column it did not fill.
    const char* field(int row, int column) const;
    // The cell at a slot of the table (row-major), "" when empty.
    const char* slot(std::size_t index) const;
    // Complete records found, counted over every parse since the parser was made.
    long rowsParsed() const { return m_rowsParsed; }

private:
    void clear();

    std::vector<const char*> m_cells;
    std::string m_resourceName;
    int m_recordCount = 0;
    int m_columns = 0;
    long m_rowsParsed = 0;
};

} // namespace vsolo::mail
