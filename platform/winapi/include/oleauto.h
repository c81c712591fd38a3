// OLE automation helpers: BSTR allocation and VARIANT handling.
#pragma once

#include "oaidl.h"

// A new BSTR of `length` units copied from `text` (zeros when text is
// null); null when memory is short.
WINPLATFORM_API BSTR WINAPI SysAllocStringLen(const OLECHAR* text, UINT length);
// A new BSTR of a zero-terminated text; null for a null text.
WINPLATFORM_API BSTR WINAPI SysAllocString(const OLECHAR* text);
// A new BSTR of `length` bytes (an odd length is allowed).
WINPLATFORM_API BSTR WINAPI SysAllocStringByteLen(LPCSTR bytes, UINT length);
// Frees a BSTR; null is ignored.
WINPLATFORM_API void WINAPI SysFreeString(BSTR text);
// The length in units (bytes) from the length prefix; 0 for null.
WINPLATFORM_API UINT WINAPI SysStringLen(BSTR text);
WINPLATFORM_API UINT WINAPI SysStringByteLen(BSTR text);

WINPLATFORM_API void WINAPI VariantInit(VARIANTARG* variant);
// Frees what the variant owns (a BSTR, a reference to an interface) and
// makes it VT_EMPTY. A by-reference variant owns nothing. An unknown type
// fails with DISP_E_BADVARTYPE and leaves the variant unchanged.
WINPLATFORM_API HRESULT WINAPI VariantClear(VARIANTARG* variant);
// Clears the destination, then makes it a copy of the source that owns its
// own BSTR or interface reference.
WINPLATFORM_API HRESULT WINAPI VariantCopy(VARIANTARG* destination, const VARIANTARG* source);
