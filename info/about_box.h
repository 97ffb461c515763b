#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace veltrix {

struct Program;
class TLinkLabel;

// "About": the program's identity and the maker's web site.
class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(Program& program, QWidget* parent = nullptr);

    static const QString& LegalNotice();
    void Label1Click();

    QFrame* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Descript = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* Owner = nullptr;
    TLinkLabel* Label1 = nullptr;
    QPushButton* OKButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Program& program_;
};

}  // namespace veltrix
