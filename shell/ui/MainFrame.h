// The main frame: one multiple-document window that holds every child window of the program.
#pragma once

#include <QMainWindow>

class QMdiArea;

namespace qv {

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return mdi_; }

private:
    QMdiArea* mdi_;
};

} // namespace qv
