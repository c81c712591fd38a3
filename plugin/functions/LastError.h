// The one process-wide record of the last error a function raised. It
// exists from start-up to shutdown.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zera {

class LastError {
public:
    // Start-up: a record with code 0 and neither message nor detail.
    static void create();
    // Shutdown: detail, then message, then the record.
    static void release();
    static bool exists();

    // Code 0, message "Success", no detail.
    static void reset();
    // A reset, then the code, a copy of the detail and the code's message.
    static void raise(std::int32_t code, const std::u16string& detail = u"");

    static std::int32_t code();
    static std::optional<std::u16string> message();
    static std::optional<std::u16string> detail();
};

}  // namespace zera
