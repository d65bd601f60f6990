/* The unarchiver library's command records, shared by the archiver component and UnpackLib. */
#ifndef FENNOCK_ZIP_UNPACKRECORDS_H
#define FENNOCK_ZIP_UNPACKRECORDS_H

/*
 * Same conventions as LibraryRecords.h: documented field order and widths, pointers of the
 * platform's size (the documented offsets hold for 32-bit builds), every unnamed field 0. The
 * callback record and the entry point types are those of LibraryRecords.h.
 */

#include "zip/LibraryRecords.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Versions: 152 brings the 148-byte record, 160 its PasswordRetries field. */
enum {
  kUnpackLibVersion = 160,
  kUnpackLibFirstModernVersion = 152,
  kUnpackLibFirstV160Version = 160,
  /* Characters of the password that keeps an old library from asking (unattended encryption). */
  kUnpackLibNoPromptPasswordLength = 80
};

/* One file spec of the 148-byte record; only its text is used. */
typedef struct UnpackLibFileSpec {
  char* SpecText;        /* 0 */
  uint8_t Reserved4[68]; /* 4..71 */
} UnpackLibFileSpec;

/* Fields 0..71, common to both layouts. */
#define FENNOCK_UNPACKLIB_COMMAND_HEAD       \
  void* OwnerWindow;                /* 0 */  \
  void* Caller;                     /* 4 */  \
  int32_t InterfaceVersion;         /* 8 */  \
  PackLibCallbackProc CallbackProc; /* 12 */ \
  int32_t TraceFlag;                /* 16 */ \
  int32_t Reserved20;               /* 20 */ \
  char* PasswordText;               /* 24 */ \
  int32_t TestFlag;                 /* 28 */ \
  int32_t Reserved32;               /* 32 */ \
  int32_t Reserved36;               /* 36 */ \
  int32_t ConstantOne;              /* 40 */ \
  int32_t VerboseFlag;              /* 44 */ \
  int32_t UpdateFlag;               /* 48 */ \
  int32_t FreshenFlag;              /* 52 */ \
  int32_t DirNamesFlag;             /* 56 */ \
  int32_t OverwriteFlag;            /* 60 */ \
  int32_t SpecCount;                /* 64 */ \
  char* ArchivePath;                /* 68 */

/* The command record for libraries of version 152 and later. */
typedef struct UnpackLibCommand {
  FENNOCK_UNPACKLIB_COMMAND_HEAD
  UnpackLibFileSpec* FileSpecs; /* 72 */
  uint8_t Reserved76[28];       /* 76..103 */
  int32_t PasswordRetries;      /* 104: version 160 and later */
  uint8_t Reserved108[36];      /* 108..143 */
  int32_t Seven;                /* 144 */
} UnpackLibCommand;

/* The command record for libraries older than 152: spec texts inline. */
typedef struct UnpackLibLegacyCommand {
  FENNOCK_UNPACKLIB_COMMAND_HEAD
  int32_t Seven;                     /* 72 */
  char* SpecTexts[kLegacySpecSlots]; /* 76 */
} UnpackLibLegacyCommand;

#if UINTPTR_MAX == 0xFFFFFFFFu
FENNOCK_RECORD_ASSERT(sizeof(UnpackLibFileSpec) == 72, "unpack file spec size");
FENNOCK_RECORD_ASSERT(sizeof(UnpackLibCommand) == 148, "unpack command size");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, CallbackProc) == 12, "unpack callback");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, PasswordText) == 24, "unpack password");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, TestFlag) == 28, "unpack test");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, ConstantOne) == 40, "unpack constant one");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, VerboseFlag) == 44, "unpack verbose");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, UpdateFlag) == 48, "unpack update");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, FreshenFlag) == 52, "unpack freshen");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, DirNamesFlag) == 56, "unpack dir names");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, OverwriteFlag) == 60, "unpack overwrite");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, SpecCount) == 64, "unpack spec count");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, ArchivePath) == 68, "unpack archive path");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, FileSpecs) == 72, "unpack file specs");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, PasswordRetries) == 104, "unpack retries");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, Seven) == 144, "unpack seven");
FENNOCK_RECORD_ASSERT(sizeof(UnpackLibLegacyCommand) == 16464, "unpack legacy size");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibLegacyCommand, Seven) == 72, "unpack legacy seven");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibLegacyCommand, SpecTexts) == 76, "unpack legacy specs");
#elif UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
FENNOCK_RECORD_ASSERT(sizeof(UnpackLibFileSpec) == 80, "unpack file spec size");
FENNOCK_RECORD_ASSERT(sizeof(UnpackLibCommand) == 176, "unpack command size");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, SpecCount) == 84, "unpack spec count");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, FileSpecs) == 96, "unpack file specs");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, PasswordRetries) == 132, "unpack retries");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibCommand, Seven) == 172, "unpack seven");
FENNOCK_RECORD_ASSERT(sizeof(UnpackLibLegacyCommand) == 32880, "unpack legacy size");
FENNOCK_RECORD_ASSERT(offsetof(UnpackLibLegacyCommand, Seven) == 96, "unpack legacy seven");
#endif

#ifdef __cplusplus
}
#endif

#endif /* FENNOCK_ZIP_UNPACKRECORDS_H */
