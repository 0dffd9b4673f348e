// dlopen of command modules, by path or from their default place.
#include <vantrel/host/module_loader.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace vantrel {

namespace {
constexpr const char* kModuleFile = "libvantrelcmd3.so";
}

std::string loadModule(const std::string& path, const char* what)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::string(what) + " " + path + ": no such file";
    std::string absolute = fs::absolute(path, ec).string();
    if (!dlopen(absolute.c_str(), RTLD_NOW | RTLD_GLOBAL)) {
        const char* why = dlerror();
        return std::string(what) + " " + path + ": cannot load: " + (why ? why : "unknown error");
    }
    return {};
}

std::string loadCommandModule()
{
    if (const char* env = std::getenv("VANTREL_MODULE_PATH"); env && *env)
        return loadModule(env, "VANTREL_MODULE_PATH:");
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    fs::path module = exe.parent_path().parent_path() / "lib" / kModuleFile;
    if (fs::exists(module, ec))
        return loadModule(module.string(), "module");
    return {};
}

} // namespace vantrel
