#pragma once

#include <string>

// Writes a file under a temporary name in the folder of its final name and renames it over that
// name once complete, so an existing file keeps its old contents until the new one is whole. The
// temporary file is created with the permissions a new file gets in this process (read and write
// for all, less the umask); nothing waits for the disk (see syncFolder). Plain POSIX, usable from
// any thread.
class ReplacingFile
{
public:
    explicit ReplacingFile(std::string target);
    ~ReplacingFile(); // discards an uncommitted file
    ReplacingFile(const ReplacingFile &) = delete;
    ReplacingFile &operator=(const ReplacingFile &) = delete;

    // Creates the temporary file; false with error() set when it cannot be created.
    bool open();
    int fd() const { return m_fd; }
    // Writes all bytes; false with error() set on failure.
    bool write(const void *data, std::size_t size);
    // Closes the file and renames it to the target; false with error() set on failure (the
    // temporary file is then removed and the target untouched).
    bool commit();
    // Closes and removes the temporary file.
    void discard() noexcept;

    const std::string &target() const { return m_target; }
    const std::string &temporaryName() const { return m_temporary; }
    const std::string &error() const { return m_error; }

    // Makes the names of the files renamed into folder durable: one sync of the folder.
    static bool syncFolder(const std::string &folder);

private:
    std::string m_target;
    std::string m_temporary;
    std::string m_error;
    int m_fd = -1;
    bool m_committed = false;
};
