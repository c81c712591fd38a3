#include <oleauto.h>

namespace {

// The types a variant may hold by value here; by reference any of them.
bool knownType(VARTYPE vt) {
    switch (vt & VT_TYPEMASK) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_UNKNOWN:
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
        return true;
    case VT_VARIANT:
        return (vt & VT_BYREF) != 0;
    default:
        return false;
    }
}

bool validType(VARTYPE vt) { return (vt & ~(VT_TYPEMASK | VT_BYREF)) == 0 && knownType(vt); }

}  // namespace

WINPLATFORM_API void WINAPI VariantInit(VARIANTARG* variant) {
    if (variant == nullptr) return;
    variant->vt = VT_EMPTY;
    variant->wReserved1 = variant->wReserved2 = variant->wReserved3 = 0;
    variant->llVal = 0;
}

WINPLATFORM_API HRESULT WINAPI VariantClear(VARIANTARG* variant) {
    if (variant == nullptr) return E_INVALIDARG;
    if (!validType(variant->vt)) return DISP_E_BADVARTYPE;
    switch (variant->vt) {
    case VT_BSTR:
        SysFreeString(variant->bstrVal);
        break;
    case VT_UNKNOWN:
        if (variant->punkVal != nullptr) variant->punkVal->Release();
        break;
    case VT_DISPATCH:
        if (variant->pdispVal != nullptr) variant->pdispVal->Release();
        break;
    default:
        break;
    }
    VariantInit(variant);
    return S_OK;
}

WINPLATFORM_API HRESULT WINAPI VariantCopy(VARIANTARG* destination, const VARIANTARG* source) {
    if (destination == nullptr || source == nullptr) return E_INVALIDARG;
    if (!validType(source->vt)) return DISP_E_BADVARTYPE;
    if (destination == source) return S_OK;
    const HRESULT cleared = VariantClear(destination);
    if (FAILED(cleared)) return cleared;
    VARIANT copy = *source;
    switch (source->vt) {
    case VT_BSTR:
        if (source->bstrVal != nullptr) {
            copy.bstrVal = SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
            if (copy.bstrVal == nullptr) return E_OUTOFMEMORY;
        }
        break;
    case VT_UNKNOWN:
        if (copy.punkVal != nullptr) copy.punkVal->AddRef();
        break;
    case VT_DISPATCH:
        if (copy.pdispVal != nullptr) copy.pdispVal->AddRef();
        break;
    default:
        break;
    }
    *destination = copy;
    return S_OK;
}
