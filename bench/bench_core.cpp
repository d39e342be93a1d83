// Matching, conversions and requests. Besides the benchmarks:
//   bench_core --write-pages DIR   writes the pages and patterns that bench/yardstick.js reads
//   bench_core --peak-memory       fetches a 100 MB body and reports the peak memory it took
#include "BenchPages.h"
#include "LoopbackServer.h"

#include "collect/ListingPatterns.h"
#include "support/RegexMatcher.h"
#include "web/HttpRequest.h"
#include "web/TextEncoding.h"

#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <tuple>

using namespace quillmarsh;

namespace {

const std::string& Page(ResumeKind kind, int blocks, bool lfOnly = false)
{
    static std::map<std::tuple<int, int, bool>, std::string> pages;
    auto key = std::make_tuple(static_cast<int>(kind), blocks, lfOnly);
    auto it = pages.find(key);
    if (it == pages.end())
        it = pages.emplace(key, bench::RealisticPage(kind, blocks, lfOnly ? "\n" : "\r\n")).first;
    return it->second;
}

// As the listing parser reads a page: every group of every match.
void ReadEveryGroup(benchmark::State& state, ResumeKind kind, int blocks, bool lfOnly = false)
{
    const std::string& page = Page(kind, blocks, lfOnly);
    RegexMatcher matcher;
    std::size_t chars = 0;
    for (auto _ : state) {
        matcher.Create(ListingPattern(kind), page, false, false, true);
        for (int i = 1; i <= matcher.MatchCount(); ++i)
            for (int g = 1; g <= matcher.SubMatchCount(); ++g)
                chars += matcher.SubMatchText(i, g).size();
        benchmark::DoNotOptimize(chars);
    }
    state.counters["pages/s"]
        = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["rows"] = matcher.MatchCount();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void BM_FullTimePage30(benchmark::State& s) { ReadEveryGroup(s, ResumeKind::FullTime, 30); }
void BM_PartTimePage30(benchmark::State& s) { ReadEveryGroup(s, ResumeKind::PartTime, 30); }
void BM_FullTimePage2000(benchmark::State& s) { ReadEveryGroup(s, ResumeKind::FullTime, 2000); }
void BM_PartTimePage2000(benchmark::State& s) { ReadEveryGroup(s, ResumeKind::PartTime, 2000); }
void BM_PartTimeLfOnly(benchmark::State& s)
{
    ReadEveryGroup(s, ResumeKind::PartTime, static_cast<int>(s.range(0)), true);
}
BENCHMARK(BM_FullTimePage30);
BENCHMARK(BM_PartTimePage30);
BENCHMARK(BM_FullTimePage2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartTimePage2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartTimeLfOnly)->Arg(10)->Arg(30)->Arg(300)->Unit(benchmark::kMillisecond);

std::string Megabyte()
{
    std::string text;
    while (text.size() < (1 << 20))
        text += Page(ResumeKind::FullTime, 30);
    text.resize(1 << 20);
    return text;
}

void BM_ToWide(benchmark::State& state)
{
    const std::string text = Megabyte();
    for (auto _ : state)
        benchmark::DoNotOptimize(ToWide(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
void BM_FromWide(benchmark::State& state)
{
    const std::string wide = ToWide(Megabyte());
    for (auto _ : state)
        benchmark::DoNotOptimize(FromWide(wide));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * wide.size()));
}
void BM_UrlEncode(benchmark::State& state)
{
    const std::string text = Megabyte();
    for (auto _ : state)
        benchmark::DoNotOptimize(UrlEncode(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ToWide);
BENCHMARK(BM_FromWide);
BENCHMARK(BM_UrlEncode);

// A 150 KB GBK page over loopback, a fresh connection per call.
std::string Page150k()
{
    std::string page;
    while (page.size() < 150 * 1024)
        page += Page(ResumeKind::FullTime, 30);
    page.resize(150 * 1024);
    return page;
}

bench::LoopbackServer& Server150k()
{
    static bench::LoopbackServer server(Page150k());
    return server;
}

void BM_HttpRequest150k(benchmark::State& state)
{
    HttpRequestOptions o;
    o.url = Server150k().Url();
    for (auto _ : state) {
        HttpResponse r = HttpRequest(o);
        if (!r.error.empty() || r.text.size() < 150 * 1024)
            state.SkipWithError("request failed");
    }
    state.counters["requests/s"]
        = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HttpRequest150k)->Threads(1)->Threads(4)->UseRealTime();

// The curl command line on the same server: one process fetching 100 URLs, each on a new connection.
void BM_CurlCommandLine150k(benchmark::State& state)
{
    std::string command = "curl -s --http1.1 -o /dev/null";
    for (int i = 0; i < 100; ++i)
        command += " -o /dev/null " + Server150k().Url();
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("curl failed");
    }
    state.counters["requests/s"]
        = benchmark::Counter(100.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CurlCommandLine150k)->UseRealTime()->Unit(benchmark::kMillisecond);

int WritePages(const char* dir)
{
    for (ResumeKind kind : {ResumeKind::FullTime, ResumeKind::PartTime}) {
        const char* name = kind == ResumeKind::FullTime ? "fulltime" : "parttime";
        std::ofstream(std::string(dir) + "/" + name + ".html", std::ios::binary) << Page(kind, 30);
        std::ofstream(std::string(dir) + "/pattern-" + name + ".txt", std::ios::binary)
            << Utf8FromGbk(ListingPattern(kind));
    }
    std::printf("pages: full-time %zu bytes, part-time %zu bytes\n", Page(ResumeKind::FullTime, 30).size(),
        Page(ResumeKind::PartTime, 30).size());
    return 0;
}

int PeakMemory()
{
    constexpr std::size_t kBody = 100u << 20;
    // The server lives in a child process, so that only the request's own memory is counted here.
    int fds[2];
    if (pipe(fds) != 0)
        return 1;
    pid_t pid = fork();
    if (pid == 0) {
        std::string body(kBody, 'x');
        body.replace(0, 30, "<html><meta charset=\"gbk\"><p>");
        bench::LoopbackServer server(std::move(body));
        const std::string url = server.Url();
        (void)!write(fds[1], url.data(), url.size());
        close(fds[1]);
        pause();
        _exit(0);
    }
    close(fds[1]);
    char url[256] = {};
    if (read(fds[0], url, sizeof url - 1) <= 0)
        return 1;
    InitWebClient();
    const long before = bench::PeakRss();
    HttpRequestOptions o;
    o.url = url;
    HttpResponse r = HttpRequest(o);
    const long after = bench::PeakRss();
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    std::printf("100 MB body: error '%s', text %zu bytes, peak memory rose by %.1f MB = %.2f x the body\n",
        r.error.c_str(), r.text.size(), static_cast<double>(after - before) / (1 << 20),
        static_cast<double>(after - before) / static_cast<double>(kBody));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-pages") == 0)
        return WritePages(argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "--peak-memory") == 0)
        return PeakMemory();
    InitWebClient();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
