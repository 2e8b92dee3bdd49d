#pragma once
// One running instance per user and program. The first instance listens on a local socket
// named from the program's signature and the user id, in a folder only that user can enter; a
// later instance hands it its whole command line and ends. Finding out which one a start is,
// and handing over, need no application and no display: a later start makes no window.
//
// A received text waits in a queue of one place (a newer text replaces one still waiting) and
// reaches OnMessage from the main loop only: never inside ProcessMessages or a modal loop,
// and only while Ready (when bound) agrees. The sender is acknowledged as soon as its text is
// queued, so it never waits for the program to get round to it.
#include <functional>
#include <memory>

#include <QtGlobal>

#include "System.h"

class QByteArray;
class QLocalServer;
class QLocalSocket;
class TForm;

class SingleInstance {
public:
  SingleInstance();
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when no instance of this signature runs for the user; this one then listens (when
  // the Qt application exists already, else from Serve on; the system keeps later starts
  // waiting meanwhile). Also true, without listening, when no safe place for the socket exists.
  bool BecomeFirst(const AnsiString& signature);
  // After BecomeFirst said true: takes the texts of later starts, from the main loop. Needs the
  // Qt application.
  void Serve();
  // After BecomeFirst said false: sends the text to the first instance and waits up to
  // timeoutMs for its acknowledgement; true when it came.
  bool SendToFirst(const AnsiString& commandLine, int timeoutMs);
  // Closes the socket and removes its name: a later start no longer waits on this instance,
  // it finds no one and becomes the first itself. For the close, which is no longer served.
  void StopListening();

  // The socket's path, once BecomeFirst has looked; empty when there was no safe place for it.
  const AnsiString& ServerName() const { return serverName_; }

  // A peer that sends more than this without the end of its text is dropped.
  static constexpr qsizetype MaxMessage = qsizetype{1} << 20;

  std::function<void(const AnsiString& text)> OnMessage;
  // While this says false (the program not yet, or no longer, able to take a text), a received
  // text keeps waiting.
  std::function<bool()> Ready;

private:
  void Accept();
  // More bytes of one connection's text; a whole text is queued and acknowledged.
  void Receive(QLocalSocket& socket, QByteArray& received);
  void Queue(AnsiString text);
  void ScheduleDelivery();
  void Deliver();

  AnsiString serverName_;  // the socket's path; empty when there is no safe place for it
  int listening_ = -1;     // the listening socket until Serve hands it to server_
  std::unique_ptr<QLocalServer> server_;
  AnsiString pending_;
  bool hasPending_ = false;
  bool deliveryScheduled_ = false;
  // Deferred work holds a weak reference, so an instance freed meanwhile is never touched.
  std::shared_ptr<SingleInstance*> self_;
};

// What the first instance does with its window on receipt: restores it when minimised (a
// maximised window comes back maximised), raises and activates it. The desktop may refuse the
// activation.
void BringToForeground(TForm* form);
