// Files for DXF tests: a scratch folder per test, whole-file reads, and scripts of the
// independent reader (python3-ezdxf, which tools/setup installs).
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline bool haveEzdxf() { return std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") == 0; }

inline std::string slurpFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// An empty folder of the test's own.
inline std::filesystem::path scratchDir(const char* name)
{
    auto dir = std::filesystem::temp_directory_path() / ("vantrel_dxf_" + std::to_string(::getpid()) + "_" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// Runs a python script in dir; its output goes to dir/python.log.
inline int runPython(const std::string& script, const std::filesystem::path& dir)
{
    const auto file = dir / "script.py";
    std::ofstream(file) << script;
    return std::system(("cd " + dir.string() + " && /usr/bin/python3 script.py > python.log 2>&1").c_str());
}
