#include "host_functions.h"

#include "platform/ascii_case.h"
#include "platform/utf.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace fmhost {
namespace {

const fmw::Stream& chooseStream(const fmw::Container& container, const std::vector<fmw::Value>& arguments) {
    if (container.streams.empty()) throw HostFunctionError("the container holds no stream");
    if (arguments.size() > 2) {
        const std::string wanted = platform::utf16ToUtf8(arguments[2].asText());
        for (const fmw::Stream& stream : container.streams)
            if (stream.type == wanted) return stream;
        throw HostFunctionError("the container has no \"" + wanted + "\" stream");
    }
    for (const fmw::Stream& stream : container.streams)
        if (stream.type == "GIFf") return stream;
    return container.streams.front();
}

fmw::Value exportStream(const std::vector<fmw::Value>& arguments) {
    if (arguments[0].type() != fmw::Value::Type::Container)
        throw HostFunctionError("the first parameter is not a container");
    const fmw::Stream& stream = chooseStream(arguments[0].containerValue(), arguments);
    const std::string path = platform::utf16ToUtf8(arguments[1].asText());
    if (path.empty()) throw HostFunctionError("the path is empty");

    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    errno = 0;
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "wb"));
    if (!file) throw HostFunctionError("cannot write '" + path + "': " + std::strerror(errno));
    const std::size_t written = stream.bytes.empty()
                                    ? 0
                                    : std::fwrite(stream.bytes.data(), 1, stream.bytes.size(), file.get());
    if (written != stream.bytes.size() || std::fclose(file.release()) != 0)
        throw HostFunctionError("cannot write '" + path + "': " + std::strerror(errno));
    return fmw::Value::number(static_cast<double>(written));
}

constexpr std::array kHostFunctions{
    HostFunction{"Export", "Export( container ; path {; streamType} )", 2, 3, &exportStream},
};

}  // namespace

std::span<const HostFunction> hostFunctions() { return kHostFunctions; }

const HostFunction* findHostFunction(std::string_view name) {
    for (const HostFunction& function : kHostFunctions)
        if (platform::equalsIgnoringAsciiCase(function.name, name)) return &function;
    return nullptr;
}

}  // namespace fmhost
