// A small HTTP server on 127.0.0.1 (a free port) for the tests of the
// outside libraries: it answers every request with one fixed response and
// keeps the requests it got.
#pragma once

#include <arpa/inet.h>
#include <atomic>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace zb::test {

// Answers every request with one fixed HTTP response and keeps the requests.
class LoopbackHttpServer {
public:
    explicit LoopbackHttpServer(std::string response) : response_(std::move(response))
    {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;  // a free port
        socklen_t len = sizeof addr;
        if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            listen(listener_, 4) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            throw std::runtime_error("cannot listen on the loopback address");
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LoopbackHttpServer()
    {
        stop_ = true;
        thread_.join();
        close(listener_);
    }

    std::string Url(const std::string& path = "/portal") const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    std::vector<std::string> Requests()
    {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    void Serve()
    {
        while (!stop_) {
            pollfd p{listener_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0)
                continue;
            const int client = accept(listener_, nullptr, nullptr);
            if (client < 0)
                continue;
            std::string request = ReadRequest(client);
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(std::move(request));
            }
            for (size_t sent = 0; sent < response_.size();) {
                const ssize_t n = send(client, response_.data() + sent, response_.size() - sent, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += static_cast<size_t>(n);
            }
            close(client);
        }
    }

    static std::string ReadRequest(int client)
    {
        std::string data;
        char buf[4096];
        size_t expected = std::string::npos;
        while (data.size() < expected) {
            pollfd p{client, POLLIN, 0};
            if (poll(&p, 1, 5000) <= 0)
                break;
            const ssize_t n = recv(client, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            data.append(buf, static_cast<size_t>(n));
            const size_t head = data.find("\r\n\r\n");
            if (head != std::string::npos && expected == std::string::npos) {
                const size_t at = data.find("Content-Length: ");
                expected = head + 4 + (at < head ? std::stoul(data.substr(at + 16)) : 0);
            }
        }
        return data;
    }

    std::string response_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::string> requests_;
};

inline std::string HttpResponse(const std::string& status, const std::string& body)
{
    return "HTTP/1.1 " + status + "\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

}  // namespace zb::test
