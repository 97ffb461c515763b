#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace veltrix {

struct Program;
class LinkLabel;

// "About": the program's identity and the maker's web site.
class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(Program& program, QWidget* parent = nullptr);

    static const QString& LegalNotice();
    void onWebSiteLink();

    QFrame* Panel() const { return panel_; }
    QLabel* ProgramIcon() const { return programIcon_; }
    QLabel* ProductName() const { return productName_; }
    QLabel* Description() const { return description_; }
    QLabel* Copyright() const { return copyright_; }
    QLabel* Owner() const { return owner_; }
    LinkLabel* WebSiteLink() const { return webSiteLink_; }
    QPushButton* OkButton() const { return okButton_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Program& program_;
    QFrame* panel_ = nullptr;
    QLabel* programIcon_ = nullptr;
    QLabel* productName_ = nullptr;
    QLabel* description_ = nullptr;
    QLabel* copyright_ = nullptr;
    QLabel* owner_ = nullptr;
    LinkLabel* webSiteLink_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace veltrix
