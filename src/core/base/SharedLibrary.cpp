#include "core/base/SharedLibrary.h"

#include <dlfcn.h>

bool SharedLibrary::load() {
    std::call_once(m_once, [this] {
        // RTLD_LOCAL: the library's names serve only the calls made through this object, and cannot stand in for
        // another library's of the same name.
        m_handle = ::dlopen(m_soname.constData(), RTLD_NOW | RTLD_LOCAL);
        if (!m_handle)
            m_loadError = QString::fromLocal8Bit(::dlerror());
    });
    return m_handle != nullptr;
}

QString SharedLibrary::loadError() {
    load();
    return m_loadError;
}

void* SharedLibrary::address(const char* name, QString* error) {
    if (!load()) {
        if (error)
            *error = m_loadError;
        return nullptr;
    }
    void* const found = ::dlsym(m_handle, name);
    if (!found && error)
        *error = QStringLiteral("%1 lacks %2").arg(QLatin1String(m_soname), QLatin1String(name));
    return found;
}
