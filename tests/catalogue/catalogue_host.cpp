#include "catalogue_host.h"

#include "catalogue/catalogue_handlers.h"
#include "text/codepage.h"
#include "ui/widget_text.h"

namespace catalogue_test {

namespace {

QString name_of(const char* prefix, int n) {
    return QString::fromUtf8(prefix) + QString::number(n);
}

void add_link(QWidget& window, int n, const std::string& caption) {
    auto* link = new QLabel(&window);
    link->setObjectName(name_of("透明标签", n));
    ui::write_text(link, caption);
    link->setAttribute(Qt::WA_TranslucentBackground);
    link->hide();
    link->setEnabled(false);
}

}  // namespace

CatalogueHost::CatalogueHost() {
    using Handler = void (*)(ui::Context&);
    const Handler handlers[] = {catalogue::on_level1_selected, catalogue::on_level2_selected,
                                catalogue::on_level3_selected, catalogue::on_tab_selected};
    for (int n = 1; n <= 4; ++n) {
        auto* box = new QComboBox(&window_);
        box->setObjectName(name_of("组合框", n));
        QObject::connect(box, &QComboBox::activated, &window_,
                         [this, handler = handlers[n - 1]](int) { handler(ctx_); });
    }
    add_link(window_, 1, GBK("类目获取失败，点击这里重新获取…"));
    add_link(window_, 2, GBK("获取类目失败，点击这里重新获取…"));
}

QComboBox& CatalogueHost::box(int n) {
    return *window_.findChild<QComboBox*>(name_of("组合框", n));
}

QLabel& CatalogueHost::link(int n) {
    return *window_.findChild<QLabel*>(name_of("透明标签", n));
}

void CatalogueHost::choose(int box_number, int index) {
    QComboBox& chosen = box(box_number);
    chosen.setCurrentIndex(index);
    emit chosen.activated(index);
}

std::vector<std::string> items(const QComboBox& box) {
    std::vector<std::string> out;
    for (int i = 0; i < box.count(); ++i)
        out.push_back(ui::from_qstring(box.itemText(i)));
    return out;
}

}  // namespace catalogue_test
