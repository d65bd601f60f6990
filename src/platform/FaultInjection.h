// A test-only seam in the file operations: the Nth operation of the process fails as a full disk
// or a lost device would make it fail, so that tests can show that no failure at any point
// loses a user's file or ends in a reported success. Off unless the test environment asks.
#pragma once

namespace platform {

enum class FileOperation { Create, Read, Write, Truncate, Close, Rename, Delete };

// Counts the operation when FENNOCK_TEST_FAIL_AT=N is set and returns true, with errno set to
// ENOSPC (creating and writing) or EIO (the rest), for the Nth one. FENNOCK_TEST_WRITE_DELAY_MS
// slows every write and every file creation (empty pieces too) by that many milliseconds, so
// that a test can stop a job halfway.
bool injectedFault(FileOperation operation);

}  // namespace platform
