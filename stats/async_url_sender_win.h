// Sends statistics GET requests on one background thread, one at a time in
// the order they were queued, without ever blocking the caller. Requests are
// fire-and-forget: the response is never read and nothing is retried, except
// that through the user's proxy its answer is awaited, so that a proxy that
// wants credentials can be given those the run knows.
#ifndef STATS_ASYNC_URL_SENDER_WIN_H_
#define STATS_ASYNC_URL_SENDER_WIN_H_

#include <windows.h>
#include <wininet.h>

#include <deque>
#include <map>
#include <string>

#include "base/srw_lock_win.h"
#include "base/thread_win.h"
#include "base/waitable_event_win.h"
#include "proxy/proxy_choice.h"

namespace lite {

class AsyncUrlSender {
 public:
  AsyncUrlSender();
  AsyncUrlSender(const AsyncUrlSender&) = delete;
  AsyncUrlSender& operator=(const AsyncUrlSender&) = delete;
  // Lets a request in flight finish (bounded by its time-outs) and drops
  // whatever is still queued. A request still open 2 s after its time-out
  // is closed from here (and its thread ended, where closing does not end
  // the call).
  virtual ~AsyncUrlSender();

  // Queues |url|, starting the request thread on first use; false when the
  // thread cannot be started (the URL is dropped).
  virtual bool Send(const std::u16string& url);

  // One request, synchronously, on the request thread. Gives up as soon as
  // the request has been sent (through a proxy: once it has been answered).
  virtual void SendUrl(const std::u16string& url);

 protected:
  // Ends the request thread as the destructor does. A subclass that
  // overrides SendUrl calls it from its own destructor, so that the thread
  // never runs into a half-destroyed object.
  void StopThread();

 private:
  bool InitializeThread();
  void RunRequestLoop();
  // The request thread's session for one request; false when the
  // destroying thread closed it meanwhile (it is then no longer the
  // caller's to close).
  void BeginRequest(HINTERNET session);
  bool EndRequest();
  // Closes the request in flight once it is past its time-out and grace,
  // and ends the thread when even that does not bring it back. Returns how
  // long to wait for the thread before looking again.
  DWORD CloseOverdueRequest();

  SrwLock lock_;  // guards everything below except the work event
  WaitableEvent work_event_{WaitableEvent::Reset::kAutomatic};
  Thread thread_;
  bool thread_started_ = false;
  bool stop_ = false;
  std::deque<std::u16string> queue_;
  HINTERNET in_flight_ = nullptr;  // the session of the request under way
  ULONGLONG in_flight_since_ = 0;
  bool closed_overdue_ = false;  // the destroying thread closed it

  // The proxy choice per origin, for the request thread alone: reading the
  // settings costs each request milliseconds, and events still queued when
  // the sender goes are lost.
  std::map<std::u16string, ProxyChoice> proxy_choices_;
};

}  // namespace lite

#endif  // STATS_ASYNC_URL_SENDER_WIN_H_
