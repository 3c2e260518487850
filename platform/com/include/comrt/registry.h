// HKEY_CLASSES_ROOT, kept in a text file in the registry export format:
//
//     Windows Registry Editor Version 5.00
//
//     [HKEY_CLASSES_ROOT\CLSID\{...}]
//     @="default value"
//     "Named"="value"
//
// The file is $KESTRUM_REGISTRY when that is set, else
// ${XDG_DATA_HOME:-$HOME/.local/share}/kestrum/classes.reg. Values are REG_SZ text, UTF-8 by
// convention but kept as bytes (a file name need not be UTF-8).
//
// Besides it, as the platform merges the machine's classes with each user's, the runtime reads
// a machine-wide file in the same format that an installation writes: kestrum/classes.reg in
// the folder of the runtime's own library (LIBDIR/kestrum/classes.reg), or
// $KESTRUM_MACHINE_REGISTRY when that is set. Reads see both; a key present in the user's file
// shows the user's values only, so a per-user registration wins. Changes go to the user's file
// alone: the machine-wide one is never written.
// A key exists when it has a section of its own or any key below it does. Names compare
// without regard to ASCII case and keep the case in which they were created.
//
// Every change reads the file, applies the change and writes the whole file back atomically
// (temporary file beside it, flushed, renamed over it, folder synced) while holding an advisory
// lock on "<file>.lock" beside the file that is written (classes.reg.lock for the default file;
// a symbolic link is resolved first); the lock cannot be taken on the file itself because the
// rename replaces it. A rewrite keeps every line the runtime does not read (comments, values of
// other types such as dword: and hex:) byte for byte. A file that cannot be parsed is reported
// as ERROR_BADDB and is never rewritten. Reads reuse the parsed file while it is unchanged.
#pragma once

#include <comrt/types.h>

#include <string>

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

extern "C" COMRT_API HKEY const HKEY_CLASSES_ROOT;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_ACCESS_DENIED = 5;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_OUTOFMEMORY = 14;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_LOCK_FAILED = 167;
inline constexpr LONG ERROR_MORE_DATA = 234;
inline constexpr LONG ERROR_BADDB = 1009;
inline constexpr LONG ERROR_BADKEY = 1010;
inline constexpr LONG ERROR_CANTREAD = 1012;
inline constexpr LONG ERROR_CANTWRITE = 1013;
inline constexpr LONG ERROR_KEY_DELETED = 1018;

extern "C" {
COMRT_API LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                               REGSAM samDesired, const LPSECURITY_ATTRIBUTES lpSecurityAttributes,
                               PHKEY phkResult, LPDWORD lpdwDisposition);
COMRT_API LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
COMRT_API LONG RegCloseKey(HKEY hKey);
// Only REG_SZ: cbData counts the bytes including the terminator. A null or empty value name
// is the key's default value.
COMRT_API LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                              DWORD cbData);
// ERROR_MORE_DATA with the needed size in *lpcbData when lpData is too small.
COMRT_API LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                LPBYTE lpData, LPDWORD lpcbData);
// A key that still has keys below it is not deleted (ERROR_ACCESS_DENIED).
COMRT_API LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey);
// Deletes the key and everything below it.
COMRT_API LONG RegDeleteTreeA(HKEY hKey, LPCSTR lpSubKey);
}

namespace comrt {
// The file that holds HKEY_CLASSES_ROOT for this process, as chosen above.
COMRT_API std::string RegistryPath();
// ERROR_SUCCESS when the registry files are missing or read cleanly; otherwise the error and,
// in *problem, what is wrong and where ("classes.reg line 4: ...").
COMRT_API LONG VerifyRegistry(std::string* problem);
// The machine-wide registry file, as chosen above (empty when the runtime cannot tell where
// its library is).
COMRT_API std::string MachineRegistryPath();
// Why the latest change of the registry on this thread could not be written: the file or
// folder and the reason ("/home/u/.local/share/kestrum: Permission denied"). Empty when the
// latest change was written, or failed for another reason (a damaged file, an injected fault).
COMRT_API std::string RegistryWriteProblem();
}  // namespace comrt
