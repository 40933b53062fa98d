#pragma once
// Test scaffolding for the catalogue: the controls the catalogue works on,
// standing alone (combo boxes 组合框1-4, status links 透明标签1/2) and bound
// to the handlers the way the window binds them. Hosts and message boxes:
// qt_test::ScopedHosts and qt_test::RecordingMessageBox.
#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <string>
#include <vector>

#include "ui/program_data.h"

namespace catalogue_test {

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
