// The command documentation (docs/commands.md) as the build compiled it in: Markdown, one
// "## NAME" section per command.
#pragma once

#include <string_view>

namespace vantrel {

std::string_view commandDocs();

}
