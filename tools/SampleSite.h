#pragma once

#include "collect/ResumeKind.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// The sample resume site: realistic search pages of both kinds for the four city hosts, served on
// loopback. Content follows from kind, city, page and keyword alone, so whoever knows those knows
// what a page held.
namespace quillmarsh::sample {

// One resume as the site shows it; UTF-8.
struct Resume {
    std::string name, sex, age, education, position, salary, area, intro, summary, updated, link;
    std::string talentType, period; // part-time only
};

// The last page that has resumes for a search; the pages after it are empty.
int LastPage(ResumeKind kind, const std::string& city, const std::string& keyword);
// Whether a page is sent in UTF-8 (with its meta charset) rather than GBK.
bool IsUtf8Page(ResumeKind kind, const std::string& city, int page);
// The resumes of one page, in page order (empty past the last page).
std::vector<Resume> PageResumes(
    ResumeKind kind, const std::string& city, int page, const std::string& keyword, const std::string& host);
// The whole page as sent: an HTML document in GBK or UTF-8 with CR LF line ends.
std::string PageBytes(
    ResumeKind kind, const std::string& city, int page, const std::string& keyword, const std::string& host);

// The cells a page's resumes fill, as the window lists them: columns 2 onwards, program text.
std::vector<std::vector<std::string>> ExpectedCells(ResumeKind kind, const std::vector<Resume>& resumes);

struct Request {
    std::string method;
    std::string host;   // the Host header
    std::string target; // path and query as sent
};

// A loopback HTTP server of the sample pages. Answers one connection at a time.
class Server {
public:
    // `port` 0 picks a free port.
    explicit Server(std::uint16_t port = 0);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    bool Start();
    void Stop();
    std::uint16_t Port() const { return port_; }
    std::string Domain() const { return "localhost:" + std::to_string(port_); }

    // Every request received so far, in order.
    std::vector<Request> Requests() const;
    // Lets a test answer some requests itself: the body to send (GBK), or nothing for the usual page.
    void SetOverride(std::function<std::optional<std::string>(const Request&)> override);

private:
    void Serve();
    void Handle(int client);

    std::uint16_t port_;
    int listener_ = -1;
    std::thread thread_;
    std::atomic<bool> running_ {false};
    mutable std::mutex mutex_;
    std::vector<Request> requests_;
    std::function<std::optional<std::string>(const Request&)> override_;
};

// Splits a search target into kind, page and keyword (UTF-8); false for other targets.
bool ParseSearchTarget(const std::string& target, ResumeKind& kind, int& page, std::string& keyword);

} // namespace quillmarsh::sample
