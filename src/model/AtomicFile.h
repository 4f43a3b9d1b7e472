#pragma once
// Writing a whole file so that a failure never leaves a half-written or destroyed file behind.
// Every file the programs write goes through here: projects, reports, pictures, trace files.
#include <cstddef>
#include <string>
#include <string_view>

struct TAtomicFileOptions {
    // A symbolic link at the path: true replaces the file it points to (a project opened through
    // a link), false replaces the link itself and never writes where it points (trace files in a
    // folder that others can write to).
    bool FollowLinks = true;
    // An existing file without any write permission is refused, as an editor refuses it, instead
    // of being replaced by the rename.
    bool RefuseReadOnly = true;
};

// A new file under a unique temporary name beside the target, created exclusively (never an
// existing file or a planted link). Commit flushes it to the disk, renames it over the target and
// flushes the folder; until then, and after any failure, the previous file is untouched. Every
// failure throws TFileIoError naming the path; a file not committed is removed on destruction.
class TAtomicFile {
public:
    explicit TAtomicFile(std::string path, TAtomicFileOptions options = {});
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    void Write(std::string_view bytes);
    void Commit();
    const std::string& Path() const { return mPath; }
    // The temporary file's name while it is being written.
    const std::string& TemporaryPath() const { return mTemporary; }

private:
    [[noreturn]] void Abandon(int error);

    std::string mPath;
    std::string mTarget;
    std::string mTemporary;
    int mFd = -1;
};

// The whole file at once through TAtomicFile.
void WriteFileAtomically(const std::string& path, std::string_view bytes, TAtomicFileOptions options = {});
