#pragma once

#include <QPushButton>
#include <functional>

#include "info/page_window.h"

namespace veltrix {

// The six information pages: stay-on-top tool windows, created once by the frame. The four start-up
// pages show themselves at creation as the preferences' start-up state says.

// "License Information": the licence terms and the legal notice.
class TOwnWin : public TPageWindow {
    Q_OBJECT
  public:
    explicit TOwnWin(Program& program, QWidget* parent = nullptr);
    static const QStringList& LicenseLines();
    static const QString& LegalNotice();

  protected:
    void PaintPage(PageWriter& page) override;
};

// "Introduction". Its first hiding records that the introduction has been seen.
class TIntroWin : public TPageWindow {
    Q_OBJECT
  public:
    explicit TIntroWin(Program& program, QWidget* parent = nullptr);
    void FormHide();

  protected:
    void PaintPage(PageWriter& page) override;
    void hideEvent(QHideEvent* event) override;
};

// "Notes".
class TNoteWin : public TPageWindow {
    Q_OBJECT
  public:
    explicit TNoteWin(Program& program, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;

  protected:
    void PaintPage(PageWriter& page) override;
    void ColourLabels(bool printing) override;
};

// "Filter Characteristics": its three links open the notes page, which `notes` gives (making it
// when needed).
class TInfoWin : public TPageWindow {
    Q_OBJECT
  public:
    TInfoWin(Program& program, std::function<TNoteWin*()> notes, QWidget* parent = nullptr);

    void Note1LblClick();
    void Note2LblClick();
    void NoteLblClick();

    TLinkLabel* Note1Lbl = nullptr;
    TLinkLabel* Note2Lbl = nullptr;
    TLinkLabel* NoteLbl = nullptr;

  protected:
    void PaintPage(PageWriter& page) override;
    void ColourLabels(bool printing) override;

  private:
    void ShowNotes();
    std::function<TNoteWin*()> notes_;
};

// "Configuration Instructions".
class TCfgWin : public TPageWindow {
    Q_OBJECT
  public:
    explicit TCfgWin(Program& program, QWidget* parent = nullptr);

  protected:
    void PaintPage(PageWriter& page) override;
};

// "Contact Information": phone, fax and mail of both offices, and the web site.
class TReachWin : public TPageWindow {
    Q_OBJECT
  public:
    explicit TReachWin(Program& program, QWidget* parent = nullptr);

    void Label2Click();
    void Label3Click();
    void CSWebBtnClick();

    TLinkLabel* Label2 = nullptr;
    TLinkLabel* Label3 = nullptr;
    QPushButton* CSWebBtn = nullptr;

  protected:
    void PaintPage(PageWriter& page) override;
    void ColourLabels(bool printing) override;
};

}  // namespace veltrix
