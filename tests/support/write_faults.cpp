#include "write_faults.h"

#ifdef __linux__

#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>

namespace {

// A filter that answers action to the system call nr whose argument arg is
// value, and lets every other call through.
std::vector<sock_filter> OnCallWithArgument(uint32_t nr, unsigned arg, uint64_t value, uint32_t action)
{
    const uint32_t at = offsetof(seccomp_data, args) + 8 * arg;  // the low half first: little-endian
    return {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, nr, 0, 5),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, at),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, uint32_t(value), 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, at + 4),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, uint32_t(value >> 32), 0, 1),
        BPF_STMT(BPF_RET | BPF_K, action),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
}

// Installs filter in this process for good; only system calls, so a child
// forked from a process with threads may call it.
bool Install(std::vector<sock_filter>& filter)
{
    const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

}  // namespace

bool KilledAtWrite(int64_t offset, const std::string& program, const std::vector<std::string>& args)
{
    // Everything the child needs is made before the fork.
    std::vector<sock_filter> filter = OnCallWithArgument(__NR_pwrite64, 3, uint64_t(offset), SECCOMP_RET_KILL_PROCESS);
    std::vector<std::string> line = {program};
    line.insert(line.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : line)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (Install(filter))
            execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGSYS;
}

int WithFailingFlushOfFirstFile(const std::function<int()>& work)
{
    const pid_t child = fork();
    if (child == 0) {
        // The lowest free descriptor is the one the next open takes.
        const int next = open("/dev/null", O_RDONLY | O_CLOEXEC);
        close(next);
        std::vector<sock_filter> filter = OnCallWithArgument(__NR_fsync, 0, uint64_t(next), SECCOMP_RET_ERRNO | EIO);
        _exit(Install(filter) ? work() : 126);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif
