#include "export/ReplacingFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string fileNameOf(const std::string &path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A name no other writer of this process picks, and unlikely for any other process.
std::string uniqueSuffix()
{
    static std::atomic<unsigned> counter { 0 };
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    char text[64];
    std::snprintf(text, sizeof text, "%ld-%x-%llx", long(::getpid()), counter.fetch_add(1),
        static_cast<unsigned long long>(now) & 0xFFFFFFull);
    return text;
}

} // namespace

ReplacingFile::ReplacingFile(std::string target)
    : m_target(std::move(target))
{ }

ReplacingFile::~ReplacingFile()
{
    if (!m_committed)
        discard();
}

bool ReplacingFile::open()
{
    const std::string folder = folderOf(m_target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_temporary = folder + "/." + fileNameOf(m_target) + "." + uniqueSuffix() + ".tmp";
        // 0666 less the umask, applied by the system: the permissions of any new file.
        m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    m_error = std::strerror(errno);
    m_temporary.clear();
    return false;
}

bool ReplacingFile::write(const void *data, std::size_t size)
{
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t n = ::write(m_fd, p, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            m_error = std::strerror(errno);
            return false;
        }
        p += n;
        size -= std::size_t(n);
    }
    return true;
}

bool ReplacingFile::commit()
{
    if (m_fd < 0) {
        m_error = "the file is not open";
        return false;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        m_error = std::strerror(errno);
        ::unlink(m_temporary.c_str());
        return false;
    }
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        m_error = std::strerror(errno);
        ::unlink(m_temporary.c_str());
        return false;
    }
    m_committed = true;
    return true;
}

void ReplacingFile::discard() noexcept
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.empty() && !m_committed)
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

bool ReplacingFile::syncFolder(const std::string &folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}
