#include "PluginModule.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <stdexcept>

PluginModule::PluginModule() {
    fmw::clearRegistry();
    handle_ = dlopen(ZERA_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) throw std::runtime_error(std::string("cannot load plug-in: ") + dlerror());
    entry_ = reinterpret_cast<FMExternCallProcPtr>(dlsym(handle_, "FMExternCallProc"));
    if (entry_ == nullptr) throw std::runtime_error("plug-in has no FMExternCallProc");
}

PluginModule::~PluginModule() {
    dlclose(handle_);
    fmw::clearRegistry();
}

HostCallBlock PluginModule::block() const {
    HostCallBlock b{};
    b.moduleHandle = reinterpret_cast<std::uintptr_t>(handle_);
    return b;
}

std::int64_t PluginModule::startup(std::int16_t hostVersion) {
    HostCallBlock b = block();
    b.callType = kCallStartup;
    b.hostVersion = hostVersion;
    b.result = 12345;
    call(b);
    return b.result;
}

void PluginModule::shutdown() {
    HostCallBlock b = block();
    b.callType = kCallShutdown;
    call(b);
}

void PluginModule::preferences() {
    HostCallBlock b = block();
    b.callType = kCallPreferences;
    call(b);
}

std::vector<char16_t> PluginModule::getString(std::uint8_t id, std::uint32_t capacity) {
    std::vector<char16_t> buffer(capacity + 8, char16_t{0xAAAA});
    HostCallBlock b = block();
    b.callType = kCallGetString;
    b.stringId = id;
    b.bufferChars = capacity;
    b.result = static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(buffer.data()));
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
