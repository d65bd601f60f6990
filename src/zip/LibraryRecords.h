/* Record layouts and entry points shared by the archiver component and the archiver libraries. */
#ifndef FENNOCK_ZIP_LIBRARYRECORDS_H
#define FENNOCK_ZIP_LIBRARYRECORDS_H

/*
 * Plain C structs in the documented field order and widths. Integer fields are little-endian
 * 32-bit or 16-bit values; pointer fields (texts, handles, the callback) take the platform's
 * pointer size, so the documented offsets hold for 32-bit builds and a 64-bit build has its own
 * (checked) sizes. Every field that no side mentions stays 0.
 */

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#define FENNOCK_RECORD_ASSERT(cond, text) static_assert(cond, text)
#else
#define FENNOCK_RECORD_ASSERT(cond, text) _Static_assert(cond, text)
#endif

/* Versions: 160 is 1.60. The 216-byte command record needs 151; its later fields need 160. */
enum {
  kArchiverInterfaceVersion = 160,
  kPackLibVersion = 160,
  kPackLibFirstModernVersion = 151,
  kPackLibFirstV160Version = 160,
  kCommandSeven = 7,
  kLegacySpecSlots = 4097,
  kCallbackTextSize = 512,
  kMaxPasswordLength = 80,   /* characters a password prompt accepts */
  kMaxCopiedPassword = 81,   /* characters of Password copied into the command */
  kRecurseFromSpec = 0xFFFF, /* SpecRecurse for a ">" spec (-1 in 16 bits) */
  kEncryptFromSpec = 0xFFFF  /* SpecEncrypt for a spec with its own password */
};

/* ActionCode values of the callback record. */
enum {
  kActionNewFile = 1,  /* Text = file name, Arg2 = its size */
  kActionProgress = 2, /* Arg2 = bytes done since the last progress callback */
  kActionEndOfBatch = 3,
  kActionMessage = 4,     /* Text = message, Arg1 = error code (0 for a notice) */
  kActionTotalFiles = 5,  /* Arg2 = number of files */
  kActionTotalSize = 6,   /* Arg2 = total bytes */
  kActionNewName = 7,     /* Text = name; answer: Text = new name, Arg1 = 1 when changed */
  kActionPassword = 8,    /* Arg1 bit 0 = ask twice, Arg2 = repeat count; answer in Text */
  kActionCrcError = 9,    /* Arg1 = found, Arg2 = expected; answer Arg1 = extract */
  kActionOverwrite = 10,  /* Arg1 bit 0 = is older, Arg2 = overwrite; answer Arg2 */
  kActionSkipped = 11,    /* Arg1 = error code, Arg2 low byte = skip type */
  kActionFileComment = 12 /* Text = comment; answer Text, Arg1 = changed, Arg2 = length */
};

/* ProgressType values handed to OnProgress. */
enum {
  kProgressNewFile = 0,
  kProgressUpdate = 1,
  kProgressEndOfBatch = 2,
  kProgressTotalFiles = 3,
  kProgressTotalSize = 4
};

typedef struct PackLibCallbackInfo PackLibCallbackInfo;

/* Returns 0 to go on, nonzero to ask the library to stop. */
typedef int32_t (*PackLibCallbackProc)(PackLibCallbackInfo* info);

/*
 * The callback record, owned by the library. Offsets 0..3 and 8..15 are the library's own:
 * this library family puts the record's size at offset 0 so that the component can tell that
 * the 64-bit size at the end is present (sizes of 4 GiB and more do not fit Arg2).
 */
struct PackLibCallbackInfo {
  uint32_t RecordSize;          /* 0: sizeof(PackLibCallbackInfo) from this family */
  void* Caller;                 /* 4 */
  uint32_t Reserved8;           /* 8 */
  uint32_t Reserved12;          /* 12 */
  int32_t ActionCode;           /* 16 */
  int32_t Arg1;                 /* 20 */
  int32_t Arg2;                 /* 24 */
  char Text[kCallbackTextSize]; /* 28 */
  int64_t Size64;               /* after Text: the full size for codes 1, 2 and 6 */
};

/* One file spec of the 216-byte command record. */
typedef struct PackLibFileSpec {
  char* SpecText;         /* 0 */
  uint32_t Reserved4;     /* 4 */
  uint32_t Reserved8;     /* 8 */
  char* SpecPassword;     /* 12 */
  int32_t SpecEncrypt;    /* 16 */
  uint16_t SpecRecurse;   /* 20 */
  uint8_t Reserved22[14]; /* 22..35 */
  char* SpecRootDir;      /* 36 */
  uint8_t Reserved40[64]; /* 40..103 */
} PackLibFileSpec;

/* Fields 0..127, common to both command layouts. */
#define FENNOCK_PACKLIB_COMMAND_HEAD          \
  void* OwnerWindow;                /* 0 */   \
  void* Caller;                     /* 4 */   \
  int32_t InterfaceVersion;         /* 8 */   \
  PackLibCallbackProc CallbackProc; /* 12 */  \
  int32_t TraceFlag;                /* 16 */  \
  char* PasswordText;               /* 20 */  \
  char* StoreSuffixList;            /* 24 */  \
  int32_t EncryptFlag;              /* 28 */  \
  int32_t HiddenFilesFlag;          /* 32 */  \
  int32_t VolumeLabelFlag;          /* 36 */  \
  int32_t Reserved40;               /* 40 */  \
  int32_t OmitDirEntriesFlag;       /* 44 */  \
  int32_t Reserved48;               /* 48 */  \
  int32_t VerboseFlag;              /* 52 */  \
  int32_t QuietFlag;                /* 56 */  \
  int32_t Level;                    /* 60 */  \
  int32_t Reserved64;               /* 64 */  \
  int32_t Reserved68;               /* 68 */  \
  int32_t StripPathsFlag;           /* 72 */  \
  uint16_t RecurseFlag;             /* 76 */  \
  uint16_t Reserved78;              /* 78 */  \
  int32_t ConstantOne;              /* 80 */  \
  int32_t ForceDosFlag;             /* 84 */  \
  int32_t MoveFlag;                 /* 88 */  \
  int32_t Reserved92;               /* 92 */  \
  int32_t UpdateFlag;               /* 96 */  \
  int32_t FreshenFlag;              /* 100 */ \
  int32_t Reserved104;              /* 104 */ \
  int32_t ZipTimeFlag;              /* 108 */ \
  int32_t Reserved112;              /* 112 */ \
  int32_t Reserved116;              /* 116 */ \
  int32_t SpecCount;                /* 120 */ \
  char* ArchivePath;                /* 124 */

/* The command record for libraries of version 151 and later. */
typedef struct PackLibCommand {
  FENNOCK_PACKLIB_COMMAND_HEAD
  char* TempDirText;          /* 128: version 151 and later */
  char* CommentText;          /* 132: version 160 and later */
  uint16_t ArchiveOnlyFlag;   /* 136: version 160 and later */
  uint16_t ResetArchiveFlag;  /* 138: version 160 and later */
  PackLibFileSpec* FileSpecs; /* 140 */
  int32_t Reserved144;        /* 144 */
  int32_t ExcludeCount;       /* 148: version 160 and later */
  char** ExcludeSpecs;        /* 152: version 160 and later */
  uint8_t Reserved156[56];    /* 156..211 */
  int32_t Seven;              /* 212 */
} PackLibCommand;

/* The command record for libraries older than 151: spec texts inline, no file-spec records. */
typedef struct PackLibLegacyCommand {
  FENNOCK_PACKLIB_COMMAND_HEAD
  int32_t Seven;                     /* 128 */
  char* SpecTexts[kLegacySpecSlots]; /* 132 */
} PackLibLegacyCommand;

/* Entry points of the archiver library, looked up by these names. */
#define PACKLIB_EXEC_NAME "PackLibExec"
#define PACKLIB_VERSION_NAME "GetPackLibVersion"
typedef int32_t (*PackLibExecProc)(void* command);
typedef int32_t (*GetPackLibVersionProc)(void);

/* Entry points of the unarchiver library. */
#define UNPACKLIB_EXEC_NAME "UnpackLibExec"
#define UNPACKLIB_VERSION_NAME "GetUnpackLibVersion"
typedef int32_t (*UnpackLibExecProc)(void* command);
typedef int32_t (*GetUnpackLibVersionProc)(void);

/* Library files: the documented base names with this platform's suffix. */
#ifdef _WIN32
#define PACKLIB_FILE_NAME "PackLib.dll"
#define UNPACKLIB_FILE_NAME "UnpackLib.dll"
#define FENNOCK_LIBRARY_EXPORT __declspec(dllexport)
#else
#define PACKLIB_FILE_NAME "PackLib.so"
#define UNPACKLIB_FILE_NAME "UnpackLib.so"
#define FENNOCK_LIBRARY_EXPORT __attribute__((visibility("default")))
#endif

#if UINTPTR_MAX == 0xFFFFFFFFu
/* 32-bit builds: exactly the documented layout. */
FENNOCK_RECORD_ASSERT(offsetof(PackLibCallbackInfo, Caller) == 4, "callback Caller");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCallbackInfo, ActionCode) == 16, "callback ActionCode");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCallbackInfo, Arg1) == 20, "callback Arg1");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCallbackInfo, Arg2) == 24, "callback Arg2");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCallbackInfo, Text) == 28, "callback Text");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCallbackInfo, Size64) == 540, "callback Size64");
FENNOCK_RECORD_ASSERT(sizeof(PackLibFileSpec) == 104, "file spec size");
FENNOCK_RECORD_ASSERT(offsetof(PackLibFileSpec, SpecPassword) == 12, "spec password");
FENNOCK_RECORD_ASSERT(offsetof(PackLibFileSpec, SpecEncrypt) == 16, "spec encrypt");
FENNOCK_RECORD_ASSERT(offsetof(PackLibFileSpec, SpecRecurse) == 20, "spec recurse");
FENNOCK_RECORD_ASSERT(offsetof(PackLibFileSpec, SpecRootDir) == 36, "spec root dir");
FENNOCK_RECORD_ASSERT(sizeof(PackLibCommand) == 216, "command size");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, CallbackProc) == 12, "command callback");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, PasswordText) == 20, "command password");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, StoreSuffixList) == 24, "command suffixes");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, OmitDirEntriesFlag) == 44, "command omit dirs");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, Level) == 60, "command level");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, StripPathsFlag) == 72, "command strip paths");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, RecurseFlag) == 76, "command recurse");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, ConstantOne) == 80, "command constant one");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, ZipTimeFlag) == 108, "command zip time");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, SpecCount) == 120, "command spec count");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, ArchivePath) == 124, "command archive path");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, TempDirText) == 128, "command temp dir");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, CommentText) == 132, "command comment");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, ArchiveOnlyFlag) == 136, "command archive only");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, ResetArchiveFlag) == 138, "command reset");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, FileSpecs) == 140, "command file specs");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, ExcludeCount) == 148, "command exclude count");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, ExcludeSpecs) == 152, "command exclude specs");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, Seven) == 212, "command seven");
FENNOCK_RECORD_ASSERT(sizeof(PackLibLegacyCommand) == 16520, "legacy command size");
FENNOCK_RECORD_ASSERT(offsetof(PackLibLegacyCommand, Seven) == 128, "legacy seven");
FENNOCK_RECORD_ASSERT(offsetof(PackLibLegacyCommand, SpecTexts) == 132, "legacy specs");
#elif UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
/* 64-bit builds: the same fields with 8-byte pointers in their natural alignment. */
FENNOCK_RECORD_ASSERT(offsetof(PackLibCallbackInfo, ActionCode) == 24, "callback ActionCode");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCallbackInfo, Text) == 36, "callback Text");
FENNOCK_RECORD_ASSERT(sizeof(PackLibCallbackInfo) == 560, "callback size");
FENNOCK_RECORD_ASSERT(sizeof(PackLibFileSpec) == 120, "file spec size");
FENNOCK_RECORD_ASSERT(sizeof(PackLibCommand) == 272, "command size");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, SpecCount) == 148, "command spec count");
FENNOCK_RECORD_ASSERT(offsetof(PackLibCommand, Seven) == 264, "command seven");
FENNOCK_RECORD_ASSERT(sizeof(PackLibLegacyCommand) == 32944, "legacy command size");
FENNOCK_RECORD_ASSERT(offsetof(PackLibLegacyCommand, Seven) == 160, "legacy seven");
#endif

#ifdef __cplusplus
}
#endif

#endif /* FENNOCK_ZIP_LIBRARYRECORDS_H */
