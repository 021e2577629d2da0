#include "host_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <climits>

HostRun runHost(const std::string& program, const std::vector<std::string>& arguments,
                const std::function<void(const std::string&)>& onOutput) {
  HostRun run;
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return run;
  pid_t child = fork();
  if (child < 0) {
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    return run;
  }
  if (child == 0) {
    dup2(pipeEnds[1], STDOUT_FILENO);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  char buffer[4096];
  ssize_t got;
  while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
    std::string piece(buffer, static_cast<size_t>(got));
    run.transcript += piece;
    onOutput(piece);
  }
  close(pipeEnds[0]);
  int status = 0;
  if (waitpid(child, &status, 0) == child && WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
  return run;
}

std::string programFolder() {
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return ".";
  std::string self(path, static_cast<size_t>(length));
  return self.substr(0, self.find_last_of('/'));
}
