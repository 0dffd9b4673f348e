// The host profile in a TOML file: loading that never loses a damaged file, and an atomic
// rewrite of the whole file on every change.
#include <vantrel/host/TomlProfile.h>

#include <cassert>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <pwd.h>
#include <unistd.h>

#include <toml++/toml.h>

#include <vantrel/db/OdError.h>
#include <vantrel/host/write_file.h>

namespace vantrel {

struct TomlProfile::Document {
    toml::table table;
};

class TomlProfile::Section final : public IProfileSection {
public:
    Section(TomlProfile& owner, OdString name) : m_owner(owner), m_name(std::move(name)), m_key(m_name.toUtf8()) {}

    const OdString& name() const override { return m_name; }
    CHxVariant getValue(const OdString& key) const override;
    void setValue(const OdString& key, const CHxVariant& value) override;

private:
    toml::table& table() const
    {
        toml::table* t = m_owner.m_doc->table.get_as<toml::table>(m_key);
        assert(t && "openSection keeps a table under every section it handed out");
        return *t;
    }

    TomlProfile& m_owner;
    OdString m_name;
    std::string m_key;
};

CHxVariant TomlProfile::Section::getValue(const OdString& key) const
{
    const toml::node* node = table().get(key.toUtf8());
    if (!node)
        return {};
    if (const auto* i = node->as_integer()) {
        std::int64_t v = i->get();
        if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
            return {};
        return CHxVariant(static_cast<std::int32_t>(v));
    }
    if (const auto* d = node->as_floating_point())
        return CHxVariant(d->get());
    if (const auto* b = node->as_boolean())
        return CHxVariant(b->get());
    if (const auto* s = node->as_string())
        return CHxVariant(OdString::fromUtf8(s->get()));
    return {};
}

void TomlProfile::Section::setValue(const OdString& key, const CHxVariant& value)
{
    std::string k = key.toUtf8();
    if (k.empty())
        throw OdError(eInvalidInput, "a profile key cannot be empty (section \"" + m_key + "\")");
    toml::table& t = table();
    switch (value.type()) {
    case CHxVariant::Type::Empty: t.erase(k); break;
    case CHxVariant::Type::Int32: t.insert_or_assign(k, static_cast<std::int64_t>(*value.asInt32())); break;
    case CHxVariant::Type::Double: t.insert_or_assign(k, *value.asDouble()); break;
    case CHxVariant::Type::Bool: t.insert_or_assign(k, *value.asBool()); break;
    case CHxVariant::Type::String: t.insert_or_assign(k, value.asString()->toUtf8()); break;
    }
    m_owner.save();
}

namespace {

// The whole file, or the errno that stopped reading it; ENODEV for what is not a regular file,
// which is not read at all (a pipe would block, a device never end).
int readWholeFile(const std::string& path, std::string& text)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return errno;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        int err = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
        ::close(fd);
        return err;
    }
    char buf[8192];
    int err = 0;
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            err = errno;
        if (n <= 0)
            break;
        text.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return err;
}

} // namespace

TomlProfile::TomlProfile(std::string path) : m_path(std::move(path)), m_doc(std::make_unique<Document>())
{
    const std::string consequence = "; settings start empty and the file is kept as it is until a setting changes, "
                                    "then it is moved to "
        + m_path + ".damaged";
    std::string text;
    if (int err = readWholeFile(m_path, text)) {
        if (err == ENOENT)
            return;
        if (err == ENODEV) {
            m_notRegular = true;
            m_loadError = m_path + " is not a regular file; settings start empty and are not saved";
            return;
        }
        // A folder in the file's place is never moved aside; saving will report it.
        m_damagedFileInPlace = err != EISDIR;
        m_loadError = "cannot read profile " + m_path + ": " + std::strerror(err)
            + (m_damagedFileInPlace ? consequence : "; settings start empty");
        return;
    }
    try {
        m_doc->table = toml::parse(text, m_path);
    } catch (const toml::parse_error& e) {
        const auto& at = e.source().begin;
        m_loadError = m_path + ":" + std::to_string(at.line) + ":" + std::to_string(at.column) + ": "
            + std::string(e.description()) + consequence;
        m_damagedFileInPlace = true;
        return;
    }
    // Every setting lives in a section; a plain value at the top is someone's edit, kept as it is
    // until a section of that name is needed.
    for (const auto& [key, node] : m_doc->table) {
        if (!node.is_table())
            m_warnings.push_back(m_path + ": \"" + std::string(key.str())
                                 + "\" holds a value, not a section; it is ignored");
    }
}

TomlProfile::~TomlProfile() = default;

std::string TomlProfile::defaultPath()
{
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* pw = ::getpwuid(::getuid());
            home = pw ? pw->pw_dir : nullptr;
        }
        if (!home || !*home)
            throw OdError(eFileError,
                          "cannot find a folder for the profile: set HOME or XDG_CONFIG_HOME, or give --profile FILE");
        base = std::string(home) + "/.config";
    }
    return base + "/vantrel/profile.toml";
}

IProfileSection& TomlProfile::openSection(const OdString& name)
{
    if (name.isEmpty())
        throw OdError(eInvalidInput, "a profile section needs a name");
    if (auto it = m_sections.find(name.str()); it != m_sections.end())
        return *it->second;
    std::string key = name.toUtf8();
    if (const toml::node* node = m_doc->table.get(key); !node) {
        m_doc->table.insert(key, toml::table{});
    } else if (!node->is_table()) {
        // Reported when loaded; the file goes aside as FILE.damaged before the section is saved.
        m_doc->table.insert_or_assign(key, toml::table{});
        m_damagedFileInPlace = true;
    }
    auto section = std::make_unique<Section>(*this, name);
    IProfileSection& result = *section;
    m_sections.emplace(name.str(), std::move(section));
    return result;
}

void TomlProfile::save()
{
    if (m_notRegular)
        throw OdError(eFileError,
                      "cannot save the profile " + m_path
                          + ": it is not a regular file; the setting holds for this session only");
    if (m_damagedFileInPlace) {
        std::string aside = m_path + ".damaged";
        if (std::rename(m_path.c_str(), aside.c_str()) != 0 && errno != ENOENT)
            throw OdError(eFileError,
                          "cannot move the damaged profile " + m_path + " to " + aside + ": " + std::strerror(errno)
                              + "; the setting holds for this session only");
        m_damagedFileInPlace = false;
    }
    std::filesystem::path parent = std::filesystem::path(m_path).parent_path();
    if (std::error_code ec; !parent.empty() && !std::filesystem::create_directories(parent, ec) && ec)
        throw OdError(eFileError,
                      "cannot create the profile folder " + parent.string() + ": " + ec.message()
                          + "; the setting holds for this session only");
    std::ostringstream text;
    text << m_doc->table << '\n';
    if (std::string err = writeFileAtomically(m_path, text.str()); !err.empty())
        throw OdError(eFileError, err + "; the setting holds for this session only");
}

} // namespace vantrel
