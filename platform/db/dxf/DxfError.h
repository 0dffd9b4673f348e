// The error raised when a DXF file cannot be read: an OdError whose message names the line and
// its problem, so a user can find the fault in the file.
#pragma once

#include <cstddef>
#include <string>

#include <vantrel/db/OdError.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

class VANTREL_DB_FOR_TESTS DxfError : public OdError {
public:
    DxfError(std::size_t line, const std::string& problem)
        : OdError(eBadDxfFile, "line " + std::to_string(line) + ": " + problem), m_line(line), m_problem(problem)
    {
    }

    // 1-based line of the fault in the file.
    std::size_t line() const { return m_line; }
    // The message without its line.
    const std::string& problem() const { return m_problem; }

private:
    std::size_t m_line;
    std::string m_problem;
};

} // namespace vantrel
