#pragma once
// The catalogue's view of the main window: the selection lists' combo boxes
// 组合框1-4 and the status links 透明标签1/2, through the window's typed
// widget members.
#include "catalogue/catalogue_view.h"
#include "net/lifetime.h"

class QComboBox;

namespace ui {
class TransparentLabel;
}

namespace app {

class MainWindow;

class WindowCatalogueView final : public catalogue::CatalogueView {
  public:
    explicit WindowCatalogueView(MainWindow& window) : window_(window) {}

    net::LifetimeWatch watch() const override { return lifetime_.watch(); }

    void append_names(catalogue::ListKind list, const std::vector<std::string>& names) override;
    void clear_box(catalogue::ListKind list) override;
    int chosen_index(catalogue::ListKind list) const override;
    void show_link(catalogue::Link link, const catalogue::LinkState& state) override;
    void message(const std::string& text, int style, const std::string& caption) override;

  private:
    QComboBox* box(catalogue::ListKind list) const;
    ui::TransparentLabel* link(catalogue::Link link) const;

    MainWindow& window_;
    net::Lifetime lifetime_;
};

}  // namespace app
