// FM_BinaryData_...: the typed streams of container values.
#include "runtime.h"

#include <cstring>
#include <memory>
#include <string>

using fmw::detail::HostCall;

namespace {

const fmw::Stream* streamAt(HostCall& call, const fmx::BinaryData* binaryData, int32_t streamPosition) {
    const auto& streams = binaryData->content.streams;
    if (streamPosition < 0 || static_cast<std::size_t>(streamPosition) >= streams.size()) {
        call.misuse("stream position " + std::to_string(streamPosition) + " is out of range (" +
                    std::to_string(streams.size()) + " streams)");
        return nullptr;
    }
    return &streams[static_cast<std::size_t>(streamPosition)];
}

}  // namespace

fmx::BinaryData* FM_BinaryData_Constructor1(HostError& error) {
    HostCall call("FM_BinaryData_Constructor1", error);
    if (!call.proceed()) {
        return nullptr;
    }
    return call.adopt(std::make_unique<fmx::BinaryData>());
}

void FM_BinaryData_Delete(fmx::BinaryData* binaryData, HostError& error) {
    HostCall call("FM_BinaryData_Delete", error);
    call.release(binaryData);
}

FMErrcode FM_BinaryData_Add(fmx::BinaryData* binaryData, const fmx::QuadChar* streamType, uint32_t byteCount,
                            const void* bytes, HostError& error) {
    HostCall call("FM_BinaryData_Add", error);
    if (!call.proceed()) {
        return 0;
    }
    if (!call.owned(binaryData) || !call.live(streamType) || (byteCount > 0 && !call.present(bytes, "bytes"))) {
        return fmw::detail::kRefused;
    }
    fmw::Stream stream;
    stream.type.assign(streamType->chars.data(), streamType->chars.size());
    if (byteCount > 0) {
        const auto* first = static_cast<const std::uint8_t*>(bytes);
        stream.bytes.assign(first, first + byteCount);
    }
    binaryData->content.addOrder.push_back(stream.type);
    binaryData->content.streams.push_back(std::move(stream));
    return 0;
}

FMErrcode FM_BinaryData_AddFNAMData(fmx::BinaryData* binaryData, const fmx::Text* fileName, HostError& error) {
    HostCall call("FM_BinaryData_AddFNAMData", error);
    if (!call.proceed()) {
        return 0;
    }
    if (!call.owned(binaryData) || !call.live(fileName)) {
        return fmw::detail::kRefused;
    }
    binaryData->content.fileName = fileName->units;
    binaryData->content.addOrder.emplace_back("FNAM");
    return 0;
}

FMErrcode FM_BinaryData_AddSIZEData(fmx::BinaryData* binaryData, int16_t width, int16_t height,
                                    HostError& error) {
    HostCall call("FM_BinaryData_AddSIZEData", error);
    if (!call.proceed()) {
        return 0;
    }
    if (!call.owned(binaryData)) {
        return fmw::detail::kRefused;
    }
    binaryData->content.imageSize = std::make_pair(width, height);
    binaryData->content.addOrder.emplace_back("SIZE");
    return 0;
}

uint32_t FM_BinaryData_GetSize(const fmx::BinaryData* binaryData, int32_t streamPosition, HostError& error) {
    HostCall call("FM_BinaryData_GetSize", error);
    if (!call.proceed() || !call.live(binaryData)) {
        return 0;
    }
    const fmw::Stream* stream = streamAt(call, binaryData, streamPosition);
    return stream == nullptr ? 0 : static_cast<uint32_t>(stream->bytes.size());
}

FMErrcode FM_BinaryData_GetData(const fmx::BinaryData* binaryData, int32_t streamPosition, uint32_t offset,
                                uint32_t byteCount, void* destination, HostError& error) {
    HostCall call("FM_BinaryData_GetData", error);
    if (!call.proceed()) {
        return 0;
    }
    if (!call.live(binaryData)) {
        return fmw::detail::kRefused;
    }
    const fmw::Stream* stream = streamAt(call, binaryData, streamPosition);
    if (stream == nullptr) {
        return fmw::detail::kRefused;
    }
    // Summed in 64 bits so a huge offset cannot wrap into range.
    if (std::uint64_t{offset} + byteCount > stream->bytes.size()) {
        call.misuse("bytes " + std::to_string(offset) + "+" + std::to_string(byteCount) +
                    " are beyond the stream's " + std::to_string(stream->bytes.size()));
        return fmw::detail::kRefused;
    }
    if (byteCount > 0) {
        if (!call.present(destination, "destination")) {
            return fmw::detail::kRefused;
        }
        std::memcpy(destination, stream->bytes.data() + offset, byteCount);
    }
    return 0;
}
