// A second game for the one-game-at-a-time tests: another process that holds the save.
#include "save_holder.h"

#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

#include "screens/save_file.h"

pid_t HoldSaveInAnotherProcess() {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    std::fflush(nullptr);
    const pid_t holder = fork();
    if (holder == 0) {
        const char claimed = ClaimSaveFile() == platform::FileLock::Taken ? 1 : 0;
        if (write(ready[1], &claimed, 1) != 1) _exit(2);
        pause();
        _exit(0);
    }
    char claimed = 0;
    const bool told = holder > 0 && read(ready[0], &claimed, 1) == 1;
    close(ready[0]);
    close(ready[1]);
    if (told && claimed == 1) return holder;
    if (holder > 0) EndSaveHolder(holder);
    return -1;
}

bool EndSaveHolder(pid_t holder) {
    kill(holder, SIGKILL);
    return waitpid(holder, nullptr, 0) == holder;
}
