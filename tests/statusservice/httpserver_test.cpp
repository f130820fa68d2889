#include "buildconfig.h"
#include "http/httphead.h"
#include "http/httpserver.h"
#include "statusservice/defaults.h"
#include "statusservice/ratelimiter.h"
#include "statusservice/servicethread.h"
#include "support/eventloop.h"
#include "support/ownnamespace.h"

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <ctime>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace {

using namespace http;
using namespace statusservice;

TEST(HttpHead, ReadsStrictly)
{
    using State = HeadParse::State;
    const QByteArray host = "Host: h\r\n";
    const std::tuple<const char*, QByteArray, State, int> cases[] = {
        // what, bytes, state, status when refused
        {"a GET", "GET /a?b=c HTTP/1.1\r\n" + host + "\r\n", State::Complete, 0},
        {"HTTP/9.9", "GET / HTTP/9.9\r\n" + host + "\r\n", State::Refused, 505},
        {"a head in bare LF", "GET / HTTP/1.1\nHost: h\n\n", State::Refused, 400},
        {"a chunked body", "GET / HTTP/1.1\r\n" + host + "Transfer-Encoding: chunked\r\n\r\n", State::Refused, 413},
        {"HTTP/1.1 without Host", "GET / HTTP/1.1\r\n\r\n", State::Refused, 400},
        {"two Hosts", "GET / HTTP/1.1\r\n" + host + host + "\r\n", State::Refused, 400},
        {"a folded line", "GET / HTTP/1.1\r\n" + host + " more\r\n\r\n", State::Refused, 400},
        {"a field without a colon", "GET / HTTP/1.1\r\n" + host + "X y\r\n\r\n", State::Refused, 400},
        {"a NUL in the target", QByteArray("GET /\0 HTTP/1.1\r\n", 18) + host + "\r\n", State::Refused, 400},
        {"a target past 8 KiB", "GET /" + QByteArray(kLongestTarget, 'a') + " HTTP/1.1\r\n" + host + "\r\n",
         State::Refused, 414},
        {"a head past 16 KiB", "GET / HTTP/1.1\r\n" + host + "X: " + QByteArray(kLongestHead, 'a'), State::Refused,
         431},
        {"too many fields", "GET / HTTP/1.1\r\n" + host + QByteArray("X: y\r\n").repeated(kMostFields) + "\r\n",
         State::Refused, 431},
    };
    for (const auto& [what, bytes, state, status] : cases) {
        const HeadParse parse = parseHead(bytes);
        EXPECT_EQ(parse.state, state) << what << ": " << parse.why.constData();
        EXPECT_EQ(parse.status, status) << what;
    }
    const HeadParse get = parseHead("GET /a HTTP/1.0\r\nConnection: keep-alive\r\nHost: h:1\r\n\r\nGET /next");
    EXPECT_EQ(get.length, 54);
    EXPECT_EQ(get.head.target, "/a");
    EXPECT_EQ(get.head.host, "h:1");
    EXPECT_TRUE(get.head.keepAlive);
    EXPECT_FALSE(parseHead("GET / HTTP/1.1\r\nConnection: Close\r\n" + host + "\r\n").head.keepAlive);
}

// A client of our own on plain sockets, from a loopback address of its choice,
// so attackers and the client that must still be served count apart. Its
// connection closes with it.
class Client {
public:
    Client(const char* source, quint16 port) : m_fd(socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in from{}, to{};
        from.sin_family = to.sin_family = AF_INET;
        inet_pton(AF_INET, source, &from.sin_addr);
        inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
        to.sin_port = htons(port);
        timeval wait{0, 200 * 1000};
        setsockopt(m_fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
        setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        if (bind(m_fd, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0 ||
            connect(m_fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
            close(m_fd);
            m_fd = -1;
        }
    }
    Client(const Client&) = delete;
    ~Client() { close(m_fd); }
    bool connected() const { return m_fd >= 0; }
    ssize_t send(const std::string& bytes) const { return ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    // Sends the request, then reads everything the server sends until it closes, or until ms pass.
    std::string talk(const std::string& request, int ms = 2000) const
    {
        send(request);
        std::string got;
        QElapsedTimer clock;
        clock.start();
        char buffer[4096];
        for (ssize_t n = 1; n != 0 && clock.elapsed() < ms;)
            if ((n = recv(m_fd, buffer, sizeof buffer, 0)) > 0)
                got.append(buffer, static_cast<std::size_t>(n));
        return got;
    }

private:
    int m_fd;
};

// One connection from source: the request, and all of the reply.
std::string exchange(const char* source, quint16 port, const std::string& request)
{
    return Client(source, port).talk(request);
}

// The reply begins with its status line and holds every one of texts.
void expectReply(const std::string& reply, const std::string& status, const std::vector<const char*>& texts = {})
{
    EXPECT_EQ(reply.substr(0, status.size()), status);
    for (const char* text : texts)
        EXPECT_NE(reply.find(text), std::string::npos) << text;
}

class HttpServerUnderAttack : public ::testing::Test {
protected:
    void SetUp() override // the desktop's own service, with short waits
    {
        ServiceOptions desktop = desktopOptions();
        desktop.port = 0;
        desktop.http = {.headTimeoutMs = 500, .idleTimeoutMs = 500, .maxConnections = 100};
        ASSERT_EQ(service.launch(desktop), ServiceThread::Outcome::Started);
    }

    std::string request(const std::string& head) const
    {
        return head + "Host: 127.0.0.1:" + std::to_string(service.port()) + "\r\n\r\n";
    }

    ServiceThread service;
};

TEST_F(HttpServerUnderAttack, AnotherClientIsServedWithinASecond)
{
    const auto servedMeanwhile = [this] {
        QElapsedTimer clock;
        clock.start();
        expectReply(
            exchange("127.0.0.1", service.port(), request("GET /Qev/TS3/index.php HTTP/1.1\r\nConnection: close\r\n")),
            "HTTP/1.1 200 OK", {UTQ_VOICE_CHAT_HOST});
        EXPECT_LT(clock.elapsed(), 1000);
    };
    // One client sends without end while its page is answered, or pipelines
    // requests and never reads their replies: the service takes 32 MiB of it at most.
    const std::string page = request("GET /Qev/TS3/index.php HTTP/1.1\r\n");
    for (const std::string& then :
         {std::string(65536, 'x'), QByteArray::fromStdString(page).repeated(200).toStdString()}) {
        std::atomic<bool> stop = false;
        long long taken = 0;
        std::thread attacker([&] {
            const Client client("127.0.0.2", service.port());
            for (const std::string* bytes = &page; !stop; bytes = &then) {
                const ssize_t n = client.send(*bytes);
                if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
                    break;
                taken += std::max<ssize_t>(0, n);
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        servedMeanwhile();
        stop = true;
        attacker.join();
        EXPECT_LE(taken, 32 << 20);
    }
    std::vector<std::unique_ptr<Client>> idle; // held open, never asking
    for (int i = 0; i < 300; ++i)
        idle.push_back(std::make_unique<Client>("127.0.0.2", service.port()));
    servedMeanwhile();
}

TEST_F(HttpServerUnderAttack, EachRequestIsAnsweredAsItsHeadSays)
{
    const std::string page = "GET /Qev/TS3/index.php HTTP/1.1\r\n";
    // A head sent a byte at a time is cut off, unanswered, after the head's
    // time: on a new connection, and on a kept-alive one after its reply.
    const auto dripped = [this](const std::string& before) {
        const Client slow("127.0.0.2", service.port());
        slow.send(before + "GET / HTTP/1.1\r\nX: ");
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 15 && slow.send("y") == 1; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const std::string got = slow.talk("", 1500);
        EXPECT_LT(clock.elapsed(), 1500);
        return got;
    };
    EXPECT_EQ(dripped(""), "");
    expectReply(dripped(request(page)), "HTTP/1.1 200 OK");
    {
        // A kept-alive connection that asks nothing more is closed after its idle time.
        const Client idle("127.0.0.2", service.port());
        QElapsedTimer clock;
        clock.start();
        expectReply(idle.talk(request(page), 1500), "HTTP/1.1 200 OK");
        EXPECT_LT(clock.elapsed(), 1400);
    }
    const std::string closing = request(page + "Connection: close\r\n");
    // What is sent, the one reply's status line and a text in it.
    const std::tuple<std::string, const char*, const char*> rows[] = {
        {request(page + "Content-Length: 40\r\n") + request(page), "HTTP/1.1 413 Content Too Large", ""}, // body unread
        {closing + closing, "HTTP/1.1 200 OK", ""}, // nothing after a close is answered
        {request("HEAD /Qev/TS3/index.php HTTP/1.1\r\nConnection: close\r\n"), "HTTP/1.1 200", "Length: "},
        {"POST / HTTP/1.1\r\nHost: h\r\n\r\n", "HTTP/1.1 405", "Allow: GET, HEAD\r\n"},
        // A page of another site that reaches the service by a name of its own (DNS rebinding).
        {"GET / HTTP/1.1\r\nHost: rebind.attacker.net:" + std::to_string(service.port()) + "\r\n\r\n", "HTTP/1.1 403",
         ""},
    };
    for (const auto& [bytes, status, text] : rows) {
        const std::string reply = exchange("127.0.0.1", service.port(), bytes);
        expectReply(reply, status, {text});
        EXPECT_EQ(reply.find("HTTP/1.1", 1), std::string::npos) << bytes;                      // one reply only
        EXPECT_TRUE(!bytes.starts_with("HEAD") || reply.find("\r\n\r\n") == reply.size() - 4); // no body
    }
}

// In a process allowed 64 files; not under the sanitizers, whose own reports need file handles.
#ifndef __SANITIZE_ADDRESS__
TESTS_IN_OWN_NAMESPACE(WithFewFileHandles, ::testing::Test, "-r", QStringLiteral("ulimit -n 64"))

TEST_F(WithFewFileHandles, TheServiceRestsInsteadOfSpinningAndComesBack)
{
    ServiceThread service;
    ASSERT_EQ(service.launch({.port = 0}), ServiceThread::Outcome::Started);
    // Connections until this process has no file handle left: the service
    // cannot accept those the system has queued for it.
    {
        std::vector<std::unique_ptr<Client>> held;
        do
            held.push_back(std::make_unique<Client>("127.0.0.2", service.port()));
        while (held.back()->connected());
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const std::clock_t before = std::clock(); // this process's processor time
        std::this_thread::sleep_for(std::chrono::seconds(1));
        EXPECT_LT(std::clock() - before, CLOCKS_PER_SEC * 3 / 10);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    expectReply(exchange("127.0.0.1", service.port(), "GET / HTTP/1.1\r\nHost: h\r\nConnection: close\r\n\r\n"),
                "HTTP/1.1 ");
}
#endif

// A closed connection leaves neither its count nor its object behind: a
// client at its cap gets one more connection for each it closes.
TEST(HttpServerCaps, AClosedConnectionLeavesNothingBehind)
{
    HttpServer server([](const HttpRequest&, HttpReply reply) { reply.send(200, "text/plain", "hi"); },
                      {.maxPerClient = 2});
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    const auto open = [&](qsizetype count) {
        return waitUntil([&] { return server.findChildren<HttpConnection*>().size() == count; }, 2000);
    };
    {
        auto first = std::make_unique<Client>("127.0.0.2", server.port());
        const Client second("127.0.0.2", server.port());
        EXPECT_TRUE(open(2));
        first.reset();
        EXPECT_TRUE(open(1));
        const Client third("127.0.0.2", server.port()), turnedAway("127.0.0.2", server.port());
        runEventLoopFor(200);
        EXPECT_TRUE(open(2));
    }
    EXPECT_TRUE(
        waitUntil([&] { return server.connections() == 0 && server.findChildren<HttpConnection*>().isEmpty(); }, 2000));
}

// A budget per key, earned back in time; of 16384 keys at most, those whole
// again make room for new ones.
TEST(RateLimiter, ABudgetPerKeyEarnedBackInTime)
{
    RateLimiter budget(2, 1000);
    qint64 wait = 0;
    EXPECT_TRUE(budget.take(QStringLiteral("a"), 0) && budget.take(QStringLiteral("a"), 0));
    EXPECT_FALSE(budget.take(QStringLiteral("a"), 999, &wait));
    EXPECT_EQ(wait, 1); // the second was owed until 2000
    for (int i = 0; i < 16383; ++i)
        ASSERT_TRUE(budget.take(QString::number(i), 0));
    EXPECT_FALSE(budget.take(QStringLiteral("new"), 0));
    EXPECT_TRUE(budget.take(QStringLiteral("0"), 0)); // a key it holds goes on
    EXPECT_TRUE(budget.take(QStringLiteral("new"), 1000) && budget.take(QStringLiteral("a"), 1000));
}

TEST(ServiceBudgets, AClientOverItsBudgetIsToldToWaitWhileOthersGoOn)
{
    ServiceThread service; // one query under way per client, two in all; the silent servers' pages come at once
    ASSERT_EQ(service.launch({.port = 0,
                              .timeoutMs = 50,
                              .maxInFlight = 2,
                              .maxPerClient = 1,
                              .destinations = gamequery::Destinations::Lan,
                              .clientQueries = {3, 60000},
                              .diagnosisMs = 100}),
              ServiceThread::Outcome::Started);
    const auto target = [](int port) {
        return "GET /Qev/UT3Query/ut3query.php?serverip=127.0.0.1&serverqport=" + std::to_string(port) +
               "&serverwport=0 HTTP/1.1\r\nHost: h\r\n";
    };
    const auto statusPage = [&](const char* from, int port) {
        return exchange(from, service.port(), target(port) + "Connection: close\r\n\r\n");
    };
    for (int port = 1; port <= 3; ++port)
        expectReply(statusPage("127.0.0.2", port), "HTTP/1.1 200 OK");
    expectReply(statusPage("127.0.0.2", 4), "HTTP/1.1 429 Too Many Requests",
                {"Retry-After: 60\r\n", "Too many requests", "Wait a few seconds, then try again."});
    expectReply(statusPage("127.0.0.1", 4), "HTTP/1.1 200 OK");
    // One query under way per client and two in all: more at the same time are turned away.
    const auto askSlowly = [&](const Client& client, int port) {
        client.send(target(port) + "\r\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    };
    const Client first("127.0.0.3", service.port()), second("127.0.0.4", service.port());
    askSlowly(first, 9);
    const std::string sameClient = statusPage("127.0.0.3", 10);
    askSlowly(second, 11);
    const std::string thirdInAll = statusPage("127.0.0.5", 12);
    for (const std::string& busy : {sameClient, thirdInAll})
        expectReply(busy, "HTTP/1.1 503 Service Unavailable", {"Too many queries", "Try again in a second."});
    expectReply(second.talk("", 1500), "HTTP/1.1 200 OK");
}

} // namespace
