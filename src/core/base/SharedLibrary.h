#pragma once

#include <QByteArray>
#include <QString>

#include <mutex>

// A library opened by its shared-object name when it is first needed rather than linked, so that the programs do not
// pay for loading it (and all it brings along) on every start when most runs never call it. Once loaded it stays for
// the rest of the run, as a linked library would: the functions found in it may be kept.
class SharedLibrary {
public:
    explicit SharedLibrary(const QByteArray& soname) : m_soname(soname) {}
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Loads the library at the first call, whichever thread makes it; every later call answers from that one
    // attempt, so a library that was missing is not looked for again.
    bool load();
    // Why load() failed, in the loader's words, which name the file; empty when it loaded.
    QString loadError();

    // The library's function of that name, loading the library first; nullptr when the library cannot be loaded or
    // lacks the function, and then *error (when given) is loadError() or "SONAME lacks NAME".
    template <typename Function> Function resolve(const char* name, QString* error = nullptr) {
        return reinterpret_cast<Function>(address(name, error));
    }

private:
    void* address(const char* name, QString* error);

    QByteArray m_soname;
    std::once_flag m_once;
    void* m_handle = nullptr;
    QString m_loadError;
};
