// Text encoding of a DXF file being read: UTF-8 from AC1021 (2007) on, the $DWGCODEPAGE code
// page before; values are converted to UTF-8 as they are taken.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <vantrel/db/OdDbExport.h>

namespace vantrel {

class VANTREL_DB_FOR_TESTS DxfTextCodec {
public:
    // Until $ACADVER says otherwise a file is taken to be an old one in ANSI_1252.
    DxfTextCodec();
    ~DxfTextCodec();
    DxfTextCodec(DxfTextCodec&&) noexcept;
    DxfTextCodec& operator=(DxfTextCodec&&) noexcept;

    // The value of $ACADVER ("AC1009" ... "AC1032").
    void setVersion(std::string_view acadver);
    // The value of $DWGCODEPAGE ("ANSI_1252", "ANSI_932", "DOS850", ...). A name this system
    // cannot convert falls back to ANSI_1252, as other readers do; codePageKnown() tells.
    void setCodePage(std::string_view dwgcodepage);
    bool isUtf8() const { return m_utf8; }
    bool codePageKnown() const { return m_codePageKnown; }

    // The value text in UTF-8 with the file's escapes still in it: the form kept for writing
    // back into a UTF-8 file. Invalid UTF-8 bytes in a UTF-8 file are read as ANSI_1252.
    std::string toUtf8(std::string_view raw) const;
    // The string value: toUtf8 with \U+XXXX escapes and ^-escapes of control characters
    // ("^J" newline, "^ " caret) decoded.
    std::string decode(std::string_view raw) const;
    // The same as a view: raw itself when it is ASCII without escapes (most values), else the
    // decoded text, kept in scratch.
    std::string_view decode(std::string_view raw, std::string& scratch) const;

private:
    void convertAppend(std::string_view raw, std::string& out) const;

    struct Iconv;
    bool m_utf8 = false;
    bool m_codePageKnown = true;
    std::unique_ptr<Iconv> m_iconv; // null for ANSI_1252, which is converted by table
};

// Appends the UTF-8 encoding of a code point.
void appendUtf8(std::string& out, char32_t cp);

} // namespace vantrel
