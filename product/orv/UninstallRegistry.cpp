// Taking back what the install and the product registered: the entry in the list of
// installed programs, the document associations of this program, the product's own keys.
#include "UninstallRegistry.h"

#include "DocumentTypes.h"
#include "LongPaths.h"
#include "UninstallRecords.h"

#include "common/Owners.h"
#include "common/ProductInterface.h"
#include "common/WideApi.h"
#include "registration/Settings.h"

#include <windows.h>
#include <shlobj.h>

namespace orv::uninstall {

namespace {

const char ProductKey[] = "Software\\Orvanel Word Processor";

std::string RootName(HKEY root) {
    return root == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\";
}

// A key's default (or named) string value; "" when the key or the value is missing.
std::string ReadString(HKEY root, const std::string& key, const char* name) {
    UniqueHKey k;
    std::string value;
    if (RegOpenKeyExU(root, key, KEY_READ, k.put()) != ERROR_SUCCESS ||
        RegQueryStringU(k.get(), name ? name : "", value) != ERROR_SUCCESS)
        return std::string();
    return value;
}

bool KeyExists(HKEY root, const std::string& key) {
    UniqueHKey k;
    return RegOpenKeyExU(root, key, KEY_READ, k.put()) == ERROR_SUCCESS;
}

void DeleteKeyTree(HKEY root, const std::string& key, TUninstallLog& log, TRemover& remover) {
    if (!KeyExists(root, key)) {
        log.Add("Registry key not found: " + RootName(root) + key);
        return;
    }
    const LSTATUS status = RegDeleteTreeU(root, key);
    if (status == ERROR_SUCCESS && !KeyExists(root, key))
        log.Add("Removed registry key: " + RootName(root) + key);
    else
        remover.Leave(RootName(root) + key, ErrorReason(status == ERROR_SUCCESS ? ERROR_ACCESS_DENIED : status));
}

// Removes the key when nothing is left in it.
void DeleteKeyIfEmpty(HKEY root, const std::string& key, TUninstallLog& log) {
    DWORD subkeys = 0, values = 0;
    {
        UniqueHKey k;
        if (RegOpenKeyExU(root, key, KEY_READ, k.put()) != ERROR_SUCCESS) return;
        if (::RegQueryInfoKeyW(k.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                               nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return;
    }
    if (subkeys != 0 || values != 0) return;
    if (RegDeleteKeyU(root, key) == ERROR_SUCCESS) log.Add("Removed empty registry key: " + RootName(root) + key);
}

// The document types go back to the system only where they still lead to this program.
void RemoveAssociations(const std::string& program, TUninstallLog& log, TRemover& remover) {
    const std::string classes = product::UserClassesKey;
    const std::string progIdKey = classes + product::DocumentProgId;
    if (!KeyExists(HKEY_CURRENT_USER, progIdKey)) return;
    const std::string open = ReadString(HKEY_CURRENT_USER, progIdKey + "\\shell\\open\\command", nullptr);
    if (!CommandStartsProgram(open, program)) {
        log.Add("Kept the document associations: they open \"" + open + "\"");
        return;
    }
    for (const char* type : product::DocumentTypes) {
        const std::string typeKey = classes + "." + type;
        if (ReadString(HKEY_CURRENT_USER, typeKey, nullptr) != product::DocumentProgId) continue;
        UniqueHKey k;
        if (RegOpenKeyExU(HKEY_CURRENT_USER, typeKey, KEY_SET_VALUE, k.put()) == ERROR_SUCCESS &&
            RegDeleteValueU(k.get(), std::string()) == ERROR_SUCCESS) {
            log.Add("Removed the association of ." + std::string(type) + " documents");
        } else {
            remover.Leave(RootName(HKEY_CURRENT_USER) + typeKey, "access denied");
        }
        k.reset();
        DeleteKeyIfEmpty(HKEY_CURRENT_USER, typeKey, log);
    }
    DeleteKeyTree(HKEY_CURRENT_USER, progIdKey, log, remover);
    ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

}  // namespace

void RemoveRegistration(const std::string& program, TUninstallLog& log, TRemover& remover) {
    RemoveAssociations(program, log, remover);
    DeleteKeyTree(HKEY_CURRENT_USER, SettingsKey, log, remover);
    DeleteKeyTree(HKEY_CURRENT_USER, ProductInternalKey, log, remover);
    DeleteKeyIfEmpty(HKEY_CURRENT_USER, ProductKey, log);
}

bool EntryStartsProgram(const std::string& program, std::string& command) {
    command = ReadString(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString");
    return command.empty() || CommandStartsProgram(command, program) ||
           SamePath(LongForm(CommandProgram(command)), program);
}

void RemoveUninstallEntry(bool ours, const std::string& command, TUninstallLog& log, TRemover& remover) {
    if (!ours) {
        log.Add("Kept the uninstall entry: it belongs to \"" + command + "\"");
        return;
    }
    DeleteKeyTree(HKEY_LOCAL_MACHINE, UninstallKey, log, remover);
}

}  // namespace orv::uninstall
