// Text measured with FreeType and the DejaVu fonts: advances come from the glyphs' unscaled
// metrics and the font's kerning, so they do not depend on any rendering size.
#include <vantrel/db/TextFont.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace vantrel {

namespace {

constexpr const char* kDefaultFontDir = "/usr/share/fonts/truetype/dejavu";
// Without a font: an average advance of a mixed-case string, in capital heights.
constexpr double kEstimatedAdvance = 0.8;
constexpr FontMetrics kEstimatedMetrics{0.3, 1.3, 1.37};

int faceIndex(FontFace face) { return static_cast<int>(face.family) * 2 + (face.bold ? 1 : 0); }

constexpr std::array<const char*, 6> kFiles
    = {"DejaVuSans.ttf",       "DejaVuSans-Bold.ttf", "DejaVuSerif.ttf",
       "DejaVuSerif-Bold.ttf", "DejaVuSansMono.ttf",  "DejaVuSansMono-Bold.ttf"};
constexpr std::array<const char*, 3> kFamilies = {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono"};

constexpr std::size_t kAscii = 128;

struct LoadedFace {
    FT_Face face = nullptr;
    double capUnits = 0.0; // the height of capitals in font units
    FontMetrics metrics = kEstimatedMetrics;
    std::unordered_map<wchar_t, std::pair<FT_UInt, double>> glyphs; // glyph index and advance, font units
    // The kerning of a pair of glyphs (the first in the high half of the key), font units: the
    // font's own look-up costs far more than the advances, and texts repeat their pairs.
    std::unordered_map<std::uint64_t, double> kerning;
    // The same for ASCII, which most texts are, in tables rather than hashed: the entry of each
    // character and of each pair of them, null until first asked for.
    std::array<const std::pair<FT_UInt, double>*, kAscii> asciiGlyphs{};
    std::unique_ptr<std::array<std::optional<double>, kAscii * kAscii>> asciiKerning;
};

class FontLibrary {
public:
    FontLibrary()
    {
        const char* env = std::getenv("VANTREL_FONT_DIR");
        const std::filesystem::path dir = env && *env ? env : kDefaultFontDir;
        if (FT_Init_FreeType(&m_library) != 0) {
            m_problem = "text is measured by an estimate: the font library could not start";
            return;
        }
        for (std::size_t i = 0; i < kFiles.size(); ++i)
            load(m_faces[i], dir / kFiles[i]);
        if (!m_faces[0].face)
            m_problem = "text is measured by an estimate: no " + (dir / kFiles[0]).string()
                + " (install fonts-dejavu-core, or set VANTREL_FONT_DIR to a folder with the DejaVu fonts)";
    }
    ~FontLibrary()
    {
        for (LoadedFace& f : m_faces)
            if (f.face)
                FT_Done_Face(f.face);
        if (m_library)
            FT_Done_FreeType(m_library);
    }
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    // A missing variant falls back to the regular face of its family, then to Sans.
    LoadedFace* faceFor(FontFace face)
    {
        for (LoadedFace* f : {&m_faces[static_cast<std::size_t>(faceIndex(face))],
                              &m_faces[static_cast<std::size_t>(faceIndex({face.family, false}))], &m_faces[0]})
            if (f->face)
                return f;
        return nullptr;
    }

    double advance(const OdString& text, FontFace face)
    {
        std::lock_guard lock(m_mutex);
        LoadedFace* f = faceFor(face);
        if (!f)
            return kEstimatedAdvance * text.getLength();
        double units = 0.0;
        FT_UInt previous = 0;
        wchar_t previousChar = 0;
        const bool kerns = FT_HAS_KERNING(f->face);
        for (wchar_t c : text.str()) {
            const auto& [glyph, advance] = glyphOf(*f, c);
            if (previous && glyph && kerns)
                units += kerningOf(*f, previousChar, previous, c, glyph);
            units += advance;
            previous = glyph;
            previousChar = c;
        }
        return units / f->capUnits;
    }

    FontMetrics metrics(FontFace face)
    {
        std::lock_guard lock(m_mutex);
        const LoadedFace* f = faceFor(face);
        return f ? f->metrics : kEstimatedMetrics;
    }

    const std::string& problem() const { return m_problem; }

private:
    void load(LoadedFace& f, const std::filesystem::path& file)
    {
        if (FT_New_Face(m_library, file.c_str(), 0, &f.face) != 0) {
            f.face = nullptr;
            return;
        }
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f.face, FT_SFNT_OS2));
        if (os2 && os2->version >= 2 && os2->sCapHeight > 0) {
            f.capUnits = os2->sCapHeight;
        } else if (FT_Load_Char(f.face, 'H', FT_LOAD_NO_SCALE) == 0 && f.face->glyph->metrics.height > 0) {
            f.capUnits = static_cast<double>(f.face->glyph->metrics.height);
        } else {
            FT_Done_Face(f.face);
            f.face = nullptr;
            return;
        }
        f.metrics = {-f.face->descender / f.capUnits, f.face->ascender / f.capUnits, f.face->units_per_EM / f.capUnits};
    }

    // The table index of an ASCII character, kAscii for any other.
    static std::size_t asciiIndex(wchar_t c)
    {
        const std::uint32_t code = std::char_traits<wchar_t>::to_int_type(c);
        return code < kAscii ? std::size_t{code} : kAscii;
    }

    // A character the font lacks advances as its replacement glyph does.
    const std::pair<FT_UInt, double>& glyphOf(LoadedFace& f, wchar_t c)
    {
        const std::size_t index = asciiIndex(c);
        if (index == kAscii)
            return hashedGlyphOf(f, c);
        const std::pair<FT_UInt, double>*& entry = f.asciiGlyphs[index];
        if (!entry)
            entry = &hashedGlyphOf(f, c); // the map's entries never move
        return *entry;
    }

    const std::pair<FT_UInt, double>& hashedGlyphOf(LoadedFace& f, wchar_t c)
    {
        auto it = f.glyphs.find(c);
        if (it != f.glyphs.end())
            return it->second;
        const FT_UInt glyph = FT_Get_Char_Index(f.face, static_cast<FT_ULong>(c));
        double advance = 0.0;
        if (FT_Load_Glyph(f.face, glyph, FT_LOAD_NO_SCALE) == 0)
            advance = static_cast<double>(f.face->glyph->metrics.horiAdvance);
        return f.glyphs.emplace(c, std::pair{glyph, advance}).first->second;
    }

    double kerningOf(LoadedFace& f, wchar_t leftChar, FT_UInt left, wchar_t rightChar, FT_UInt right)
    {
        const std::size_t first = asciiIndex(leftChar), second = asciiIndex(rightChar);
        if (first == kAscii || second == kAscii)
            return hashedKerningOf(f, left, right);
        if (!f.asciiKerning)
            f.asciiKerning = std::make_unique<std::array<std::optional<double>, kAscii * kAscii>>();
        std::optional<double>& entry = (*f.asciiKerning)[first * kAscii + second];
        if (!entry)
            entry = hashedKerningOf(f, left, right);
        return *entry;
    }

    double hashedKerningOf(LoadedFace& f, FT_UInt left, FT_UInt right)
    {
        const std::uint64_t key = (std::uint64_t(left) << 32) | right;
        if (auto it = f.kerning.find(key); it != f.kerning.end())
            return it->second;
        FT_Vector kern{};
        const double units
            = FT_Get_Kerning(f.face, left, right, FT_KERNING_UNSCALED, &kern) == 0 ? static_cast<double>(kern.x) : 0.0;
        f.kerning.emplace(key, units);
        return units;
    }

    FT_Library m_library = nullptr;
    std::array<LoadedFace, kFiles.size()> m_faces;
    std::string m_problem;
    std::mutex m_mutex;
};

FontLibrary& library()
{
    static FontLibrary fonts;
    return fonts;
}

bool mentions(const std::wstring& name, std::initializer_list<const wchar_t*> words)
{
    return std::any_of(words.begin(), words.end(),
                       [&](const wchar_t* w) { return name.find(w) != std::wstring::npos; });
}

} // namespace

FontFace fontFaceFor(const OdString& fontName, bool bold, bool italic)
{
    std::wstring name = fontName.str();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c))); });
    FontFace face;
    if (mentions(name, {L"mono", L"courier", L"consol"}))
        face.family = FontFamily::Mono;
    else if (mentions(name, {L"times", L"georgia", L"garamond", L"cambria", L"bookman", L"roman", L"serif"})
             && !mentions(name, {L"sans", L"romans"}))
        face.family = FontFamily::Serif;
    face.bold = bold || mentions(name, {L"bold", L"bd."});
    face.italic = italic || mentions(name, {L"italic", L"oblique"});
    return face;
}

double textAdvance(const OdString& text, FontFace face) { return library().advance(text, face); }

FontMetrics fontMetrics(FontFace face) { return library().metrics(face); }

const char* fontFamilyName(FontFace face) { return kFamilies[static_cast<std::size_t>(face.family)]; }

const std::string& fontProblem() { return library().problem(); }

} // namespace vantrel
