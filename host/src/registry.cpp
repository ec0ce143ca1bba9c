#include "registry.h"

#include <QSettings>
#include <QStringList>
#include <vector>

struct HostRegistryKey {
    QString path;  // lower case, parts joined by '/'; empty for the root
};

namespace {

bool IsRoot(HKEY key) {
    return key == HKEY_CURRENT_USER;
}

QSettings Store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "slitform-host", "registry");
}

// The stored path of key, or false for a handle that is not a key.
bool PathOf(HKEY key, QString& path) {
    if (!key)
        return false;
    path = IsRoot(key) ? QString() : key->path;
    return true;
}

QString Join(const QString& parent, LPCWSTR subKey) {
    QStringList parts = parent.isEmpty() ? QStringList() : parent.split('/');
    if (subKey)
        parts += QString::fromStdWString(subKey).toLower().split('\\', Qt::SkipEmptyParts);
    return parts.join('/');
}

bool Exists(const QString& path) {
    if (path.isEmpty())
        return true;
    QSettings store = Store();
    store.beginGroup(path);
    return !store.childKeys().isEmpty() || !store.childGroups().isEmpty();
}

// The file's key of value name under path; empty for names the file cannot hold.
QString ValueKey(const QString& path, LPCWSTR name) {
    QString value = name ? QString::fromStdWString(name).toLower() : QString();
    if (value.isEmpty() || value.contains('/') || value.contains('\\'))
        return QString();
    return path.isEmpty() ? value : path + '/' + value;
}

LONG Open(HKEY key, LPCWSTR subKey, PHKEY result, bool create) {
    QString parent;
    if (!result)
        return ERROR_INVALID_PARAMETER;
    if (!PathOf(key, parent))
        return ERROR_INVALID_HANDLE;
    QString path = Join(parent, subKey);
    if (!create && !Exists(path))
        return ERROR_FILE_NOT_FOUND;
    *result = new HostRegistryKey{path};
    return ERROR_SUCCESS;
}

}  // namespace

LONG RegOpenKeyW(HKEY key, LPCWSTR subKey, PHKEY result) {
    return Open(key, subKey, result, false);
}

LONG RegCreateKeyW(HKEY key, LPCWSTR subKey, PHKEY result) {
    return Open(key, subKey, result, true);
}

LONG RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data,
                      LPDWORD dataSize) {
    QString path;
    if (!PathOf(key, path))
        return ERROR_INVALID_HANDLE;
    QString valueKey = ValueKey(path, name);
    QSettings store = Store();
    if (valueKey.isEmpty() || !store.contains(valueKey))
        return ERROR_FILE_NOT_FOUND;
    std::wstring text = store.value(valueKey).toString().toStdWString();
    DWORD needed = static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR));
    if (type)
        *type = REG_SZ;
    if (!data) {
        if (dataSize)
            *dataSize = needed;
        return ERROR_SUCCESS;
    }
    if (!dataSize)
        return ERROR_INVALID_PARAMETER;
    if (*dataSize < needed) {
        *dataSize = needed;
        return ERROR_MORE_DATA;
    }
    WCHAR* out = reinterpret_cast<WCHAR*>(data);
    text.copy(out, text.size());
    out[text.size()] = L'\0';
    *dataSize = needed;
    return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY key, LPCWSTR name, DWORD, DWORD type, LPCBYTE data, DWORD dataSize) {
    QString path;
    if (!PathOf(key, path))
        return ERROR_INVALID_HANDLE;
    QString valueKey = ValueKey(path, name);
    if (valueKey.isEmpty() || type != REG_SZ || (!data && dataSize > 0))
        return ERROR_INVALID_PARAMETER;
    std::vector<WCHAR> chars(dataSize / sizeof(WCHAR) + 1, L'\0');
    if (dataSize > 0)
        std::copy(data, data + (dataSize / sizeof(WCHAR)) * sizeof(WCHAR),
                  reinterpret_cast<BYTE*>(chars.data()));
    QSettings store = Store();
    store.setValue(valueKey, QString::fromWCharArray(chars.data()));
    store.sync();
    return store.status() == QSettings::NoError ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LONG RegCloseKey(HKEY key) {
    if (!key)
        return ERROR_INVALID_HANDLE;
    if (!IsRoot(key))
        delete key;
    return ERROR_SUCCESS;
}

void HostSetRegistryFolder(const std::string& folder) {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(folder));
}
