#pragma once
// Test scaffolding for the catalogue: the controls the catalogue works on,
// standing alone (combo boxes 组合框1-4, status links 透明标签1/2) and bound
// to the handlers the way the window binds them; the hosts pointed at a test
// server; message boxes recorded instead of shown.
#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "net/hosts.h"
#include "ui/program_data.h"

namespace catalogue_test {

// Every host of the program on one loopback server, for a test's lifetime.
class HostsOn {
  public:
    explicit HostsOn(const std::string& host);
    ~HostsOn();
    HostsOn(const HostsOn&) = delete;
    HostsOn& operator=(const HostsOn&) = delete;

  private:
    net::Hosts saved_;
};

// Message boxes go to a list while this lives.
class RecordedMessages {
  public:
    struct Message {
        std::string text;
        int style;
        std::string caption;
    };
    RecordedMessages();
    ~RecordedMessages();
    RecordedMessages(const RecordedMessages&) = delete;
    RecordedMessages& operator=(const RecordedMessages&) = delete;

    const std::vector<Message>& messages() const { return *messages_; }

  private:
    std::shared_ptr<std::vector<Message>> messages_;
};

class CatalogueHost {
  public:
    CatalogueHost();

    ui::Context& ctx() { return ctx_; }
    ui::ProgramData& data() { return data_; }
    QComboBox& box(int n);  // 组合框n
    QLabel& link(int n);    // 透明标签n
    // A user's choice: the box shows item `index` and reports it activated.
    void choose(int box_number, int index);

  private:
    QWidget window_;
    ui::ProgramData data_;
    ui::Context ctx_{window_, data_};
};

// The items of a box, as GBK.
std::vector<std::string> items(const QComboBox& box);

}  // namespace catalogue_test
