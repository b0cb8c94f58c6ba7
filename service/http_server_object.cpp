#include "service/http_server_object.hpp"

#include <objbase.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <vector>

#include <json/json.h>

#include "app/write_log.hpp"
#include "service/alert_record.hpp"
#include "service/message_decoder.hpp"
#include "service/text_win.hpp"

namespace korvanel {

namespace {

// Live services, stopped before the process's static objects go away (the
// worker threads use the log, Asio's and JsonCpp's statics). Never destroyed
// itself, for the same reason.
struct LiveServices {
    std::mutex lock;
    std::vector<CHttpServerObject*> services;
    bool hooked = false;
};
LiveServices& Live() {
    static LiveServices* live = new LiveServices;
    return *live;
}

void ShutdownAtExit() {
    std::vector<CHttpServerObject*> services;
    {
        const std::lock_guard<std::mutex> hold(Live().lock);
        services = Live().services;
    }
    for (CHttpServerObject* service : services) service->Shutdown(500);
}

void Register(CHttpServerObject* service) {
    // JsonCpp's shared null value is made on first use; make it now so that
    // it outlives the exit hook registered below.
    (void)Json::Value::nullSingleton();
    const std::lock_guard<std::mutex> hold(Live().lock);
    Live().services.push_back(service);
    if (!Live().hooked) {
        Live().hooked = true;
        std::atexit(ShutdownAtExit);
    }
}

void Unregister(CHttpServerObject* service) {
    const std::lock_guard<std::mutex> hold(Live().lock);
    auto& all = Live().services;
    all.erase(std::remove(all.begin(), all.end(), service), all.end());
}

std::wstring Widen(const char* text) { return MultiByteToWide(CP_ACP, text ? text : ""); }

}  // namespace

CHttpServerObject::CHttpServerObject(HWND hMainWnd, ServiceOptions options)
    : m_hMainWnd(hMainWnd), m_options(std::move(options)) {
    WriteLog(L"CHttpServerObject");
    Register(this);
    // Without the port the notifier still starts; the receiver thread keeps
    // trying in the background.
    Listen(/*firstAttempt=*/true);

    m_pHttpServerThread = std::make_unique<CHttpServerThread>(this);
    m_pHttpServerThread->SetPause(false);
    m_pGetCommandThread = std::make_unique<CGetCommandThread>(this);
    m_pGetCommandThread->SetPause(false);
}

CHttpServerObject::~CHttpServerObject() {
    Shutdown(INFINITE);
    Unregister(this);
}

bool CHttpServerObject::Listen(bool firstAttempt) {
    try {
        auto receiver = std::make_unique<http::ph_http_server>(m_options.port, m_options.limits);
        m_receiver = std::move(receiver);
        m_pHttpServer.store(m_receiver.get());
        if (m_bListenFailed) {
            WriteLog(L"HTTP receiver now listening on port %ls",
                     Widen(m_options.port.c_str()).c_str());
        }
        return true;
    } catch (const std::exception& e) {
        if (firstAttempt || !m_bListenFailed) {
            WriteLog(L"HTTP receiver could not listen on port %ls: %ls; retrying every %lu ms",
                     Widen(m_options.port.c_str()).c_str(), Widen(e.what()).c_str(),
                     static_cast<unsigned long>(m_options.listenRetryMs));
        }
        m_bListenFailed = true;
        return false;
    }
}

bool CHttpServerObject::RunReceiverOnce(http::ph_http_server& receiver) {
    try {
        receiver.run();
        return true;
    } catch (const std::exception& e) {
        WriteLog(L"HTTP receiver event loop failed: %ls; running it again", Widen(e.what()).c_str());
    } catch (...) {
        WriteLog(L"HTTP receiver event loop failed; running it again");
    }
    return false;
}

void CHttpServerObject::Shutdown(DWORD waitMs) {
    for (CThread* thread : {static_cast<CThread*>(m_pHttpServerThread.get()),
                            static_cast<CThread*>(m_pGetCommandThread.get())}) {
        if (thread) thread->RequestStop();
    }
    // After the stop request: a receiver published later is never run.
    if (http::ph_http_server* receiver = m_pHttpServer.load()) receiver->stop();

    const bool receiverDone = !m_pHttpServerThread || m_pHttpServerThread->WaitFinished(waitMs);
    const bool dispatcherDone = !m_pGetCommandThread || m_pGetCommandThread->WaitFinished(waitMs);
    if (!receiverDone || !dispatcherDone) {
        // Abandon rather than free anything a running thread may still touch.
        (void)m_pHttpServerThread.release();
        (void)m_pGetCommandThread.release();
        (void)m_receiver.release();
    }
}

unsigned short CHttpServerObject::ListeningPort() const {
    const http::ph_http_server* receiver = m_pHttpServer.load();
    return receiver ? receiver->port() : 0;
}

bool CHttpServerObject::ThreadsFinished() const {
    return (!m_pHttpServerThread || m_pHttpServerThread->IsFinished()) &&
           (!m_pGetCommandThread || m_pGetCommandThread->IsFinished());
}

void CHttpServerObject::GetCommand() {
    http::ph_http_server* receiver = m_pHttpServer.load();
    if (receiver == nullptr) return;
    const std::string body = receiver->pop_message();
    if (body.empty()) return;

    const DecodedMessage message = DecodeMessage(body);
    if (message.kind == DecodedMessage::Kind::NotJson) {
        WriteLog(L"Json::Reader parse fail");
        return;
    }

    const std::string debugLine = "Http Msg is " + Utf8ToAnsi(message.document);
    OutputDebugStringA(debugLine.c_str());
    WriteLogText(MultiByteToWide(CP_OEMCP, debugLine));

    if (message.kind == DecodedMessage::Kind::BadMember) {
        WriteLog(L"Http Msg dropped: member \"%ls\" is a number, array or object, not text",
                 Widen(message.badMember.c_str()).c_str());
        return;
    }
    if (message.kind != DecodedMessage::Kind::Notification) return;

    AlertRecord record;
    record.Title = Utf8ToWide(message.title);
    record.Info = Utf8ToWide(message.info);
    record.Link = Utf8ToWide(message.link);
    record.HasTitle = record.Title.empty() ? 0 : 1;
    record.HasLink = record.Link.empty() ? 0 : 1;
    if (message.functionGuid.empty()) {
        GUID guid{};
        CoCreateGuid(&guid);
        record.FunctionGuid = GuidToString(guid);
    } else {
        record.FunctionGuid = message.functionGuid;
    }
    SendMessageW(m_hMainWnd, WM_NEW_ALERT, 0, reinterpret_cast<LPARAM>(&record));
}

}  // namespace korvanel
