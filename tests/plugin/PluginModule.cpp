#include "PluginModule.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <stdexcept>

PluginModule::PluginModule() {
    fmw::clearRegistry();
    handle_ = dlopen(ZERA_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) throw std::runtime_error(std::string("cannot load plug-in: ") + dlerror());
    entry_ = reinterpret_cast<fmw::ExternCallProc>(dlsym(handle_, "FMExternCallProc"));
    if (entry_ == nullptr) throw std::runtime_error("plug-in has no FMExternCallProc");
}

PluginModule::~PluginModule() {
    dlclose(handle_);
    fmw::clearRegistry();
}

fmw::CallBlockBytes PluginModule::block(std::uint8_t whichCall, std::int16_t hostVersion) const {
    return fmw::CallBlockBytes(whichCall, hostVersion, reinterpret_cast<const void*>(entry_),
                               reinterpret_cast<std::uintptr_t>(handle_));
}

std::int64_t PluginModule::startup(std::int16_t hostVersion) {
    fmw::CallBlockBytes b = block(fmw::kWhichCallInit, hostVersion);
    b.setResult(12345);
    call(b);
    return b.result();
}

void PluginModule::shutdown() {
    fmw::CallBlockBytes b = block(fmw::kWhichCallShutdown);
    call(b);
}

void PluginModule::preferences() {
    fmw::CallBlockBytes b = block(fmw::kWhichCallPreferences);
    call(b);
}

std::vector<char16_t> PluginModule::getString(std::uint8_t id, std::uint32_t capacity) {
    std::vector<char16_t> buffer(capacity + 8, char16_t{0xAAAA});
    fmw::CallBlockBytes b = block(fmw::kWhichCallGetString);
    b.setParm1(id);
    b.setParm3(capacity);
    b.setResult(reinterpret_cast<std::uintptr_t>(buffer.data()));
    call(b);
    return buffer;
}

fmw::CallResult PluginModule::run(const std::u16string& name, const std::vector<fmw::Value>& arguments) const {
    const auto function = fmw::findFunction(name);
    if (!function) throw std::runtime_error("function not registered");
    return fmw::callFunction(*function, arguments);
}

std::u16string PluginModule::text(const std::u16string& name, const std::vector<fmw::Value>& arguments) const {
    const fmw::CallResult outcome = run(name, arguments);
    EXPECT_EQ(outcome.returned, 0);
    EXPECT_EQ(outcome.result.type(), fmw::Value::Type::Text);
    return outcome.result.textValue();
}

std::u16string textOf(const std::vector<char16_t>& buffer) {
    std::u16string out;
    for (char16_t c : buffer) {
        if (c == 0) return out;
        out.push_back(c);
    }
    return u"<unterminated>";
}

fmw::Value T(const std::u16string& text) { return fmw::Value::text(text); }
fmw::Value N(double number) { return fmw::Value::number(number); }
