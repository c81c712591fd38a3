// FM_Data_..., FM_DataVect_... and FM_FixPt_...: values, parameter vectors
// and numbers.
#include "runtime.h"

#include <memory>
#include <string>

using fmw::detail::HostCall;

namespace {

bool inRange(HostCall& call, const fmx::DataVect* vector, uint32_t position) {
    if (position >= vector->values.size()) {
        call.misuse("position " + std::to_string(position) + " is out of range (size " +
                    std::to_string(vector->values.size()) + ")");
        return false;
    }
    return true;
}

}  // namespace

const fmx::Locale* FM_Data_GetLocale(const fmx::Data* data, HostError& error) {
    HostCall call("FM_Data_GetLocale", error);
    if (!call.proceed() || !call.live(data)) {
        return nullptr;
    }
    return data->locale;
}

FMErrcode FM_Data_SetAsText(fmx::Data* data, const fmx::Text* text, const fmx::Locale* locale,
                            int32_t nativeType, HostError& error) {
    HostCall call("FM_Data_SetAsText", error);
    if (!call.proceed()) {
        return 0;
    }
    if (!call.live(data) || !call.live(text) || !call.live(locale)) {
        return fmw::detail::kRefused;
    }
    data->content = text->units;
    data->locale = locale;
    data->nativeType = nativeType;
    ++data->storeCount;
    return 0;
}

void FM_Data_SetBinaryData(fmx::Data* data, const fmx::BinaryData* binaryData, bool /*forceByRef*/,
                           HostError& error) {
    HostCall call("FM_Data_SetBinaryData", error);
    // A refused store is counted as misuse; the operation answers nothing.
    if (!call.proceed() || !call.live(data) || !call.live(binaryData)) return;
    // Always a copy, by reference or not: the plug-in may change or release
    // its binary data right after storing it.
    data->content = binaryData->content;
    ++data->storeCount;
}

uint32_t FM_DataVect_Size(const fmx::DataVect* vector, HostError& error) {
    HostCall call("FM_DataVect_Size", error);
    if (!call.proceed() || !call.live(vector)) {
        }
    return static_cast<uint32_t>(vector->values.size());
}

const fmx::Text* FM_DataVect_AtAsText(const fmx::DataVect* vector, uint32_t position, HostError& error) {
    HostCall call("FM_DataVect_AtAsText", error);
    if (!call.proceed() || !call.live(vector) || !inRange(call, vector, position)) {
        return nullptr;
    }
    auto& cached = vector->texts[position];
    if (!cached) {
        cached = std::make_unique<fmx::Text>();
        cached->units = fmw::detail::toValue(vector->values[position]->content).asText();
    }
    return cached.get();
}

const fmx::FixPt* FM_DataVect_AtAsNumber(const fmx::DataVect* vector, uint32_t position, HostError& error) {
    HostCall call("FM_DataVect_AtAsNumber", error);
    if (!call.proceed() || !call.live(vector) || !inRange(call, vector, position)) {
        return nullptr;
    }
    auto& cached = vector->numbers[position];
    if (!cached) {
        cached = std::make_unique<fmx::FixPt>(fmw::detail::toValue(vector->values[position]->content).asNumber());
    }
    return cached.get();
}

int32_t FM_FixPt_AsLong(const fmx::FixPt* number, HostError& error) {
    HostCall call("FM_FixPt_AsLong", error);
    if (!call.proceed() || !call.live(number)) {
        return 0;
    }
    return fmw::numberToLong(number->value);
}
