// A small HTTP/1.1 server on the loopback interface for the download tests, serving one request per
// connection on its own thread. Each path is a behaviour: a reply with a length, a chunked one, a slow
// one that goes on until the client leaves, an error page, a reply cut off mid-body, or a file's bytes.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include "support/ByteFile.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <thread>

class LoopbackHttpServer {
public:
    // The body of "/file" and of the other generated replies: `size` bytes of a repeating pattern.
    static std::string Pattern(size_t size) {
        std::string body(size, '\0');
        for (size_t i = 0; i < size; ++i)
            body[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
        return body;
    }

    // Port 0 takes any free port.
    explicit LoopbackHttpServer(size_t bodySize = 3 * 1048576 + 17, unsigned short port = 0)
        : body_(Pattern(bodySize)) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        if (listener_ == INVALID_SOCKET ||
            bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) || listen(listener_, 8))
            return;
        int length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] { AcceptLoop(); });
    }
    ~LoopbackHttpServer() {
        stopping_ = true;
        closesocket(listener_);
        if (acceptor_.joinable())
            acceptor_.join();
        // The connections' threads use this object: they end once their client or the slow reply stops.
        for (int waited = 0; active_.load() > 0 && waited < 200; ++waited)
            Sleep(25);
        WSACleanup();
    }
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    bool Ready() const { return port_ != 0; }
    std::wstring Url(const std::wstring& path) const {
        return L"http://127.0.0.1:" + std::to_wstring(port_) + path;
    }
    const std::string& Body() const { return body_; }
    // `urlPath` serves this file's bytes with their length.
    void ServeFile(const std::string& urlPath, const std::wstring& path) { files_[urlPath] = path; }
    // `urlPath` answers as "/slow" does.
    void ServeSlowly(const std::string& urlPath) { slowPaths_.insert(urlPath); }
    // Bytes the slow reply sent before its client left.
    size_t SlowBytesSent() const { return slowSent_.load(); }

private:
    static constexpr size_t kSlowStep = 16384;
    static constexpr DWORD kSlowPauseMs = 50;

    void AcceptLoop() {
        while (!stopping_) {
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                break;
            ++active_;
            std::thread([this, client] {
                Serve(client);
                --active_;
            }).detach();
        }
    }

    static bool SendAll(SOCKET client, const char* data, size_t size) {
        while (size > 0) {
            const int sent = send(client, data, static_cast<int>(std::min<size_t>(size, 65536)), 0);
            if (sent <= 0)
                return false;
            data += sent;
            size -= static_cast<size_t>(sent);
        }
        return true;
    }
    static bool SendAll(SOCKET client, const std::string& text) {
        return SendAll(client, text.data(), text.size());
    }
    static std::string Head(const char* status, const std::string& headers) {
        return std::string("HTTP/1.1 ") + status + "\r\nConnection: close\r\n" + headers + "\r\n";
    }

    void Serve(SOCKET client) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            request.append(buffer, static_cast<size_t>(got));
        }
        std::istringstream line(request);
        std::string method, path;
        line >> method >> path;
        const std::string length = "Content-Length: " + std::to_string(body_.size()) + "\r\n";
        if (path == "/file") {
            SendAll(client, Head("200 OK", length)) && SendAll(client, body_);
        } else if (path == "/chunked") {
            SendAll(client, Head("200 OK", "Transfer-Encoding: chunked\r\n"));
            for (size_t at = 0; at < body_.size(); at += 100000) {
                const size_t size = std::min<size_t>(100000, body_.size() - at);
                std::ostringstream chunk;
                chunk << std::hex << size << "\r\n";
                if (!SendAll(client, chunk.str()) || !SendAll(client, body_.data() + at, size) ||
                    !SendAll(client, "\r\n"))
                    break;
            }
            SendAll(client, "0\r\n\r\n");
        } else if (path == "/slow" || slowPaths_.count(path)) {
            SendAll(client, Head("200 OK", length));
            for (size_t at = 0; at < body_.size() && !stopping_; at += kSlowStep) {
                if (!SendAll(client, body_.data() + at, std::min(kSlowStep, body_.size() - at)))
                    break;
                slowSent_ += kSlowStep;
                Sleep(kSlowPauseMs);
            }
        } else if (path == "/cut") {
            SendAll(client, Head("200 OK", length)) && SendAll(client, body_.data(), body_.size() / 3);
        } else if (files_.count(path)) {
            const std::string bytes = ByteFile::ReadAll(files_[path]).value_or("");
            SendAll(client, Head("200 OK", "Content-Length: " + std::to_string(bytes.size()) + "\r\n")) &&
                SendAll(client, bytes);
        } else {
            const std::string page = "<html><body>Not Found</body></html>";
            SendAll(client,
                    Head("404 Not Found", "Content-Length: " + std::to_string(page.size()) + "\r\n")) &&
                SendAll(client, page);
        }
        shutdown(client, SD_SEND);
        closesocket(client);
    }

    std::string body_;
    std::map<std::string, std::wstring> files_;
    std::set<std::string> slowPaths_;
    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<size_t> slowSent_{0};
    std::atomic<int> active_{0};
    std::thread acceptor_;
};
