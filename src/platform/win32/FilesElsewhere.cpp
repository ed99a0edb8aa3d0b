#include "platform/win32/FilesElsewhere.h"

#include <algorithm>
#include <array>

namespace kestrava::platform {

bool DataIsElsewhere(DWORD attributes) {
    return (attributes &
            (AttributeRecallOnOpen | AttributeRecallOnDataAccess | FILE_ATTRIBUTE_OFFLINE)) != 0;
}

bool IsCloudFileError(DWORD error) {
    static constexpr std::array<DWORD, 32> Codes{
        CloudFileSyncRootMetadataCorrupt,
        CloudFileProviderNotRunning,
        CloudFileMetadataCorrupt,
        CloudFileMetadataTooLarge,
        CloudFilePropertyBlobTooLarge,
        CloudFilePropertyBlobChecksumMismatch,
        CloudFileTooManyPropertyBlobs,
        CloudFilePropertyVersionNotSupported,
        CloudFileNotInSync,
        CloudFileAlreadyConnected,
        CloudFileNotSupported,
        CloudFileInvalidRequest,
        CloudFileReadOnlyVolume,
        CloudFileConnectedProviderOnly,
        CloudFileValidationFailed,
        CloudFileAuthenticationFailed,
        CloudFileInsufficientResources,
        CloudFileNetworkUnavailable,
        CloudFileUnsuccessful,
        CloudFileNotUnderSyncRoot,
        CloudFileInUse,
        CloudFilePinned,
        CloudFileRequestAborted,
        CloudFilePropertyCorrupt,
        CloudFileAccessDenied,
        CloudFileIncompatibleHardlinks,
        CloudFilePropertyLockConflict,
        CloudFileRequestCanceled,
        CloudFileProviderTerminated,
        CloudFileRequestTimeout,
        CloudFileDehydrationDisallowed,
        CloudFileUsMessageTimeout,
    };
    return std::find(Codes.begin(), Codes.end(), error) != Codes.end();
}

}  // namespace kestrava::platform
