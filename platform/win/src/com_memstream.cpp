#include <objidl.h>
#include <shlwapi.h>
#include <platform/com_object.h>

#include "not_implemented.h"

#include <cstring>
#include <new>
#include <vector>

namespace {

class MemoryStream final : public platform::ComObject<IStream> {
public:
    MemoryStream(const BYTE* initial, UINT size) {
        if (initial != nullptr) bytes_.assign(initial, initial + size);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        IStream* self = this;
        return platform::answerQuery(self, riid, object, {{IID_ISequentialStream, self}, {IID_IStream, self}});
    }

    HRESULT STDMETHODCALLTYPE Read(void* into, ULONG count, ULONG* read) override {
        if (into == nullptr && count > 0) return E_POINTER;
        const std::size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
        const std::size_t n = count < available ? count : available;
        if (n > 0) std::memcpy(into, bytes_.data() + position_, n);
        position_ += n;
        if (read != nullptr) *read = static_cast<ULONG>(n);
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Write(const void* from, ULONG count, ULONG* written) override {
        if (from == nullptr && count > 0) return E_POINTER;
        try {
            if (bytes_.size() < position_ + count) bytes_.resize(position_ + count);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        if (count > 0) std::memcpy(bytes_.data() + position_, from, count);
        position_ += count;
        if (written != nullptr) *written = count;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
        std::int64_t base = 0;
        if (origin == STREAM_SEEK_CUR) base = static_cast<std::int64_t>(position_);
        else if (origin == STREAM_SEEK_END) base = static_cast<std::int64_t>(bytes_.size());
        else if (origin != STREAM_SEEK_SET) return E_INVALIDARG;
        const std::int64_t target = base + move.QuadPart;
        if (target < 0) return E_INVALIDARG;
        position_ = static_cast<std::size_t>(target);
        if (position != nullptr) position->QuadPart = position_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override {
        try {
            bytes_.resize(static_cast<std::size_t>(size.QuadPart));
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return winplatform::notImplemented("IStream::CopyTo");
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return winplatform::notImplemented("IStream::Revert"); }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return winplatform::notImplemented("IStream::LockRegion");
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return winplatform::notImplemented("IStream::UnlockRegion");
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override { return winplatform::notImplemented("IStream::Stat"); }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return winplatform::notImplemented("IStream::Clone"); }

private:
    ~MemoryStream() override = default;
    std::vector<BYTE> bytes_;
    std::size_t position_ = 0;
};

}  // namespace

WINPLATFORM_API IStream* WINAPI SHCreateMemStream(const BYTE* initial, UINT size) {
    try {
        return new MemoryStream(initial, size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
