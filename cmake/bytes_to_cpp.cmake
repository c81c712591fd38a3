# cmake -DINPUT=file.res -DOUTPUT=file.cpp -P bytes_to_cpp.cmake
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}; do not edit.\n#include <cstddef>\n\n"
  "extern \"C\" {\n"
  "__attribute__((visibility(\"default\"))) extern const unsigned char winplatform_resource_bytes[];\n"
  "__attribute__((visibility(\"default\"))) extern const std::size_t winplatform_resource_size;\n"
  "}\n\n"
  "alignas(4) const unsigned char winplatform_resource_bytes[] = {\n${bytes}\n};\n"
  "const std::size_t winplatform_resource_size = ${size};\n")
