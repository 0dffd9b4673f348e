# cmake -DINPUT=FILE -DOUTPUT=FILE.cpp -DFUNCTION=NAME -P EmbedText.cmake: writes a C++ source whose
# function vantrel::NAME() answers the input file's text (its bytes, whatever they hold).
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}.new"
  "// Generated from ${INPUT} by cmake/EmbedText.cmake; do not edit.\n"
  "#include <string_view>\n\n"
  "namespace vantrel {\n\n"
  "namespace {\nconst char kText[] = {${bytes}0};\n}\n\n"
  "std::string_view ${FUNCTION}()\n{\n    return {kText, sizeof kText - 1};\n}\n\n"
  "}\n")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
