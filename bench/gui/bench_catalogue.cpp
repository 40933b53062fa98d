// How long the catalogue takes to fill a box from a category page of 10,000
// entries, in the real window, fetched over loopback from a local server:
// the level-1 page of the vendor info server, a groups answer (level 2) and a
// tab list, each through its whole handler. A fill from a ready buffer is
// measured on its own as well. Wall-clock time: the fetch runs on a worker.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <QApplication>
#include <QComboBox>
#include <chrono>
#include <string>
#include <thread>

#include "catalogue/catalogue_handlers.h"
#include "catalogue/category_line.h"
#include "catalogue/selection_lists.h"
#include "qt/test_window.h"
#include "text/codepage.h"

namespace {

constexpr int kEntries = 10000;

std::string level1_page() {
    std::string list;
    for (int i = 0; i < kEntries; ++i) {
        if (i > 0)
            list += "----";
        list += "类目" + std::to_string(i) + "&mdash;" + std::to_string(100000 + i);
    }
    return "<html><body><p>yiji" + list + "mulu</p></body></html>";
}

std::string groups_answer() {
    std::string entries;
    for (int i = 0; i < kEntries; ++i) {
        if (i > 0)
            entries += ',';
        entries += R"({"id":)" + std::to_string(200000 + i) + R"(,"priority":)" +
                   std::to_string(i % 7) + R"(,"opt_name":"二级类目)" + std::to_string(i) + R"("})";
    }
    return R"({"server_time":1,"opt_infos":[)" + entries + R"(],"debugInfo":{}})";
}

std::string tab_answer() {
    std::string entries;
    for (int i = 0; i < kEntries; ++i) {
        if (i > 0)
            entries += ',';
        entries += R"({"tab_id":)" + std::to_string(i) + R"(,"tab":"标签)" + std::to_string(i) +
                   R"(","subject_id":0})";
    }
    return R"({"list":[)" + entries + "]}";
}

// The pages above on a free loopback port for the whole program.
class PageServer {
  public:
    PageServer() {
        const std::string level1 = level1_page();
        const std::string groups = groups_answer();
        const std::string tabs = tab_answer();
        server_.Get(".*", [=](const httplib::Request& request, httplib::Response& response) {
            if (request.path == "/info.asp")
                return response.set_content(level1, "text/html");
            if (request.path == "/ishopping/tablist")
                return response.set_content(tabs, "application/json");
            response.set_content(groups, "application/json");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~PageServer() {
        server_.stop();
        thread_.join();
    }
    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }

  private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};

PageServer& pages() {
    static PageServer server;
    return server;
}

struct Setup {
    qt_test::ScopedHosts hosts{pages().host()};
    qt_test::ScopedQtEventPump pump;
    qt_test::TestWindow w;
    catalogue::CatalogueView& view() { return w.window.catalogue_view(); }
    catalogue::CatalogueData& lists() { return w.data.catalogue; }
};

void check_count(benchmark::State& state, QComboBox* box, int expected) {
    if (box->count() != expected)
        state.SkipWithError("the box does not hold every entry");
}

void BM_Level1PageFillsBox(benchmark::State& state) {
    Setup s;
    for (auto _ : state) {
        state.PauseTiming();
        s.lists().level1.buffer.clear();
        s.lists().level1.ids.clear();
        s.w.window.组合框1->clear();
        state.ResumeTiming();
        catalogue::load_level1_first_visit(s.view(), s.lists());
    }
    check_count(state, s.w.window.组合框1, kEntries);
}

void BM_Level2AnswerFillsBox(benchmark::State& state) {
    Setup s;
    s.lists().level1.ids = {"14"};
    s.w.window.组合框1->addItem(QStringLiteral("x"));
    for (auto _ : state) {
        s.w.window.组合框1->setCurrentIndex(0);
        catalogue::on_level1_selected(s.view(), s.lists());
    }
    check_count(state, s.w.window.组合框2, kEntries);
}

void BM_TabListFillsBox(benchmark::State& state) {
    Setup s;
    for (auto _ : state) {
        state.PauseTiming();
        s.lists().tabs.buffer.clear();
        state.ResumeTiming();
        catalogue::load_tabs_first_visit(s.view(), s.lists());
    }
    check_count(state, s.w.window.组合框4, kEntries);
}

void BM_FillFromBuffer(benchmark::State& state) {
    Setup s;
    std::string buffer;
    for (int i = 0; i < kEntries; ++i) {
        buffer += catalogue::category_line(GBK("类目") + std::to_string(i), std::to_string(i));
    }
    s.lists().level2.buffer = buffer;
    for (auto _ : state)
        catalogue::fill(s.view(), s.lists(), catalogue::ListKind::Level2);
    check_count(state, s.w.window.组合框2, kEntries);
}

BENCHMARK(BM_Level1PageFillsBox)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Level2AnswerFillsBox)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TabListFillsBox)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FillFromBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
