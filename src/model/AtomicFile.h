#pragma once
// Writing a whole file so that a failure never leaves a half-written or destroyed file behind.
// Every file the programs write goes through here: projects, reports, pictures, trace files.
#include <cstddef>
#include <string>
#include <string_view>

struct TAtomicFileOptions {
    // A symbolic link at the path: true writes the file it points to (a project opened through
    // a link), false replaces the link itself and never writes where it points (trace files in a
    // folder that others can write to).
    bool FollowLinks = true;
    // An existing file without any write permission is refused, as an editor refuses it, instead
    // of being replaced by the rename.
    bool RefuseReadOnly = true;
};

// What stands at a path that a file is to be written to (links followed).
enum class TWriteTarget {
    Missing,      // nothing: a new file
    RegularFile,  // a file, replaced as a whole
    Folder,       // refused
    Stream,       // a device, a FIFO or a socket: written into as it is
    DanglingLink, // a link to nothing: refused, the link is left as it is
};
TWriteTarget WriteTargetKind(const std::string& path);

// Whether two paths name one existing file (through links and hard links too).
bool IsSameFile(const std::string& a, const std::string& b);

// A regular file (or a new one) is written as a new file under a unique temporary name beside
// the target, created exclusively (never an existing file or a planted link). Commit flushes it to
// the disk, renames it over the target and flushes the folder; until then, and after any failure,
// the previous file is untouched. A device or FIFO is opened and written into directly (a FIFO
// without a reader is refused at once instead of waiting for one); a folder and a link to nothing
// are refused. Every failure throws TFileIoError naming the path; a temporary not committed is
// removed on destruction.
class TAtomicFile {
public:
    explicit TAtomicFile(std::string path, TAtomicFileOptions options = {});
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    void Write(std::string_view bytes);
    void Commit();
    const std::string& Path() const { return mPath; }
    // The temporary file's name while it is being written; empty when writing into a device.
    const std::string& TemporaryPath() const { return mTemporary; }

private:
    [[noreturn]] void Abandon(int error);
    void OpenTemporary(bool keepMode, unsigned mode);
    void OpenStream(const TAtomicFileOptions& options, bool fifo);

    std::string mPath;
    std::string mTarget;
    std::string mTemporary;
    int mFd = -1;
};

// The whole file at once through TAtomicFile.
void WriteFileAtomically(const std::string& path, std::string_view bytes, TAtomicFileOptions options = {});

// How Commit flushes the folder after the rename (returns 0 or an errno). The file is in place by
// then, so a failure here is not one of the save. Tests exchange it; returns the previous one.
using TFolderSync = int (*)(const std::string& folder);
TFolderSync ExchangeFolderSync(TFolderSync sync);
