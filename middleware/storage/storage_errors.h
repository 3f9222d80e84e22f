// Result codes of the store and the exchange files beyond the shared table.
#pragma once
#include "middleware/typelib/hresult_codes.h"

namespace quill::storage {

constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorInvalidData = 13;
constexpr uint32_t kErrorInvalidName = 123;
constexpr uint32_t kErrorFileTooLarge = 223;
constexpr uint32_t kErrorMoreData = 234;
constexpr uint32_t kErrorKeyDeleted = 1018;
constexpr uint32_t kErrorNoUnicodeTranslation = 1113;

// A value or item the operation names is not there (0x80070002).
constexpr HResult kE_FILE_NOT_FOUND = HResultFromWin32(kErrorFileNotFound);
// A stored value of the wrong type or size, or a count that cannot be (0x8007000D).
constexpr HResult kE_INVALID_DATA = HResultFromWin32(kErrorInvalidData);
// A name the store or the exchange file cannot carry (0x8007007B).
constexpr HResult kE_INVALID_NAME = HResultFromWin32(kErrorInvalidName);
// A file larger than the exchange engine reads (0x800700DF).
constexpr HResult kE_FILE_TOO_LARGE = HResultFromWin32(kErrorFileTooLarge);
// A stored value larger than the reader accepts (0x800700EA).
constexpr HResult kE_MORE_DATA = HResultFromWin32(kErrorMoreData);
// Text that has no form in the file's encoding, or bytes that are not valid text (0x80070459).
constexpr HResult kE_NO_UNICODE_TRANSLATION = HResultFromWin32(kErrorNoUnicodeTranslation);

}  // namespace quill::storage
