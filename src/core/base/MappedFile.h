#pragma once

#include <QString>

#include <csetjmp>
#include <utility>

// A file mapped read-only into memory, so that a pass over its records reads the fields in place instead of
// copying every byte into the process. The mapping covers the length the file had when mapped.
//
// If another program cuts the file short while it is mapped, touching a page past the new end raises SIGBUS. A pass
// that runs inside read() turns that into FileError (MappedFileShrankText) instead of the end of the process; the
// pass must then hold nothing that needs its destructor run (it is left by a jump), so passes only read the bytes
// and fill containers their caller owns.
class MappedFile {
public:
    // Maps length bytes of the open descriptor fd (length 0 maps nothing). Throws FileError.
    MappedFile(int fd, qint64 length, const QString& fileName);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const char* data() const { return m_data; }
    qint64 size() const { return m_size; }

    template <typename Pass> void read(Pass&& pass) const {
        Guard guard;
        if (sigsetjmp(guard.jump, 1) != 0)
            shrank();
        std::forward<Pass>(pass)();
    }

private:
    struct Guard {
        Guard();
        ~Guard();
        sigjmp_buf jump;
        Guard* outer;
    };
    [[noreturn]] void shrank() const;

    const char* m_data = nullptr;
    qint64 m_size = 0;
    QString m_fileName;
    bool m_shared = false; // let go by the sharing scope, not by this object
};

QString MappedFileShrankText(const QString& fileName);

// While one lives (on this thread), the mappings of one file are made once and shared: a command that passes over
// the data file several times under one hold of the folder lock (a removal counts, ranks the stamps, then looks
// for the records to drop) maps and faults in its pages once, not once per pass. A mapping is shared only with
// the same file (device and inode), so a file replaced in between is mapped afresh; being shared, the mapping
// shows the file as it is, as a mapping of its own would. Its pages are all mapped at once (unless the file is
// larger than half the memory). All are let go when the scope ends.
class MappedFileSharing {
public:
    MappedFileSharing();
    ~MappedFileSharing();
    MappedFileSharing(const MappedFileSharing&) = delete;
    MappedFileSharing& operator=(const MappedFileSharing&) = delete;
};
