#pragma once

#include <windows.h>

namespace kestrava::platform {

// Files whose data lies elsewhere: a cloud provider's online-only files, a storage
// tier's files moved off the disk, offline files. The listing marks them; opening one
// can fetch its data, or fail. Debian 12's mingw-w64 headers lack these values, taken
// from Microsoft's documentation of winnt.h and winerror.h.

// FILE_ATTRIBUTE_RECALL_ON_OPEN, FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS.
inline constexpr DWORD AttributeRecallOnOpen = 0x00040000;
inline constexpr DWORD AttributeRecallOnDataAccess = 0x00400000;

// Whether a listing's attributes say that the entry's data is not on this machine.
bool DataIsElsewhere(DWORD attributes);

// winerror.h's ERROR_CLOUD_FILE_* codes, each named as there without "ERROR_" and
// spelled as this program's constants are.
enum CloudFileError : DWORD {
    CloudFileSyncRootMetadataCorrupt = 358,
    CloudFileProviderNotRunning = 362,
    CloudFileMetadataCorrupt = 363,
    CloudFileMetadataTooLarge = 364,
    CloudFilePropertyBlobTooLarge = 365,
    CloudFilePropertyBlobChecksumMismatch = 366,
    CloudFileTooManyPropertyBlobs = 374,
    CloudFilePropertyVersionNotSupported = 375,
    CloudFileNotInSync = 377,
    CloudFileAlreadyConnected = 378,
    CloudFileNotSupported = 379,
    CloudFileInvalidRequest = 380,
    CloudFileReadOnlyVolume = 381,
    CloudFileConnectedProviderOnly = 382,
    CloudFileValidationFailed = 383,
    CloudFileAuthenticationFailed = 386,
    CloudFileInsufficientResources = 387,
    CloudFileNetworkUnavailable = 388,
    CloudFileUnsuccessful = 389,
    CloudFileNotUnderSyncRoot = 390,
    CloudFileInUse = 391,
    CloudFilePinned = 392,
    CloudFileRequestAborted = 393,
    CloudFilePropertyCorrupt = 394,
    CloudFileAccessDenied = 395,
    CloudFileIncompatibleHardlinks = 396,
    CloudFilePropertyLockConflict = 397,
    CloudFileRequestCanceled = 398,
    CloudFileProviderTerminated = 404,
    CloudFileRequestTimeout = 426,
    CloudFileDehydrationDisallowed = 434,
    CloudFileUsMessageTimeout = 475,
};

// Whether GetLastError()'s code is one of a cloud provider's refusals.
bool IsCloudFileError(DWORD error);

}  // namespace kestrava::platform
