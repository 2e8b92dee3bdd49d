#pragma once
// Another process of the same test program, started to play one test of it (the child's part
// of a cross-process test), told what to do through environment variables. The child reports
// lines with ReportToParent; the parent reads them with Reported or WaitFor. A child still
// running when its driver ends is killed, so a failed test leaves no process behind.
#include <QByteArray>
#include <QCoreApplication>
#include <QProcess>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/MainLoop.h"

// In the child: one line for the parent, "key" followed by its value, e.g. "role=first".
inline void ReportToParent(const std::string& line)
{
  std::printf("@@%s\n", line.c_str());
  std::fflush(stdout);
}

// Any bytes as an environment value, and back (nullptr reads as no bytes).
inline std::string ToHex(const std::string& bytes)
{
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toHex().toStdString();
}
inline std::string FromHex(const char* hex)
{
  const QByteArray bytes = QByteArray::fromHex(QByteArray(hex ? hex : ""));
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

class ChildProcess {
public:
  using Environment = std::vector<std::pair<std::string, std::string>>;

  // Starts this test program running only the test `suite.name`, with these variables added
  // to (or replacing those of) the parent's environment.
  ChildProcess(const std::string& test, const Environment& environment)
  {
    QProcessEnvironment own = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : environment)
      own.insert(QString::fromStdString(name), QString::fromStdString(value));
    process_.setProcessEnvironment(own);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QCoreApplication::applicationFilePath(), {QString::fromStdString("--gtest_filter=" + test)});
  }
  ~ChildProcess()
  {
    if (Running())
      Kill();
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Running() const { return process_.state() != QProcess::NotRunning; }

  // The rest of the first reported line that starts with key, from what has come so far.
  std::optional<std::string> Reported(const std::string& key)
  {
    output_ += process_.readAllStandardOutput().toStdString();
    const std::string marker = "@@" + key;
    const size_t at = output_.find(marker);
    const size_t end = at == std::string::npos ? at : output_.find('\n', at);
    if (end == std::string::npos)
      return std::nullopt;
    return output_.substr(at + marker.size(), end - at - marker.size());
  }

  // The same, running the main loop until it came, the child ended or the time limit passed.
  std::optional<std::string> WaitFor(const std::string& key, int limitMs = 30000)
  {
    RunLoopUntil([&] { return Reported(key).has_value() || !Running(); }, limitMs);
    return Reported(key);
  }

  // Runs the main loop until the child ended; true when it ended by itself with exit code 0
  // (its test passed).
  bool EndedWell(int limitMs = 30000)
  {
    RunLoopUntil([&] { return !Running(); }, limitMs);
    return !Running() && process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
  }

  // As a crash: no clean-up of any kind.
  void Kill()
  {
    process_.kill();
    process_.waitForFinished(10000);
  }

private:
  QProcess process_;
  std::string output_;
};
