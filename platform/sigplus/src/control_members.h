// What the control's members do: its properties, its ink and bindings, the
// rendered image and the pad. The dispatch plumbing calls these with
// arguments already read and checked.
#pragma once

#include "dispatch.h"
#include "pad.h"
#include "sigplus/control.h"
#include "sigplus/ink.h"
#include "sigplus/signature_codec.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace sigplus {

// The properties are kept by DISPID; every property's DISPID is below this.
inline constexpr DISPID kPropertyLimit = 64;

class ControlMembers final : public MemberCalls {
public:
    ControlMembers();
    ~ControlMembers();
    ControlMembers(const ControlMembers&) = delete;
    ControlMembers& operator=(const ControlMembers&) = delete;

    Outcome get(const Member& member) override;
    Outcome put(const Member& member, const Argument& value) override;
    Outcome method(const Member& member, std::span<const Argument> arguments) override;

    // RenderBufferByte: the image's byte at `index`; nothing outside it.
    std::optional<std::int16_t> renderByte(std::int32_t index) const {
        if (index < 0 || static_cast<std::size_t>(index) >= renderBuffer_.size()) return std::nullopt;
        return renderBuffer_[static_cast<std::size_t>(index)];
    }

    Ink& ink() { return ink_; }
    // How screen positions become ink coordinates now.
    PadWindow window() const;
    // Where the pad records ink now, on its screen.
    const ScreenArea& inkArea() { return pad().inkArea(); }
    // The pen went down: a touch key under it counts.
    void penDown(const PenPoint& point) { pad().penDown(point); }
    // Adds the ink of one pen-down to pen-up as the pad records it.
    void recordPen(const PenInput& pen);

private:
    using Properties = std::array<std::int32_t, kPropertyLimit>;

    std::int32_t property(DISPID id) const { return properties_[static_cast<std::size_t>(id)]; }
    SignatureModes modes() const;
    void reset();
    Outcome renderToBuffer();
    Outcome padMethod(const Member& member, std::span<const Argument> arguments);
    // The pad and its screen are made when a member first needs them: a
    // control that only renders never has one.
    Pad& pad();

    Properties properties_;
    Ink ink_;
    BoundTexts bound_;    // the texts of the last finished binding
    BoundTexts pending_;  // the texts of the binding in progress
    bool binding_ = false;
    std::vector<std::uint8_t> renderBuffer_;
    std::unique_ptr<Pad> pad_;
};

}  // namespace sigplus
