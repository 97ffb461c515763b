#pragma once

#include <QPushButton>
#include <functional>

#include "info/page_window.h"

namespace veltrix {

// The six information pages: stay-on-top tool windows, created once by the frame. The four start-up
// pages show themselves at creation as the preferences' start-up state says.

// "License Information": the licence terms and the legal notice.
class LicensePage : public PageWindow {
    Q_OBJECT
  public:
    explicit LicensePage(Program& program, QWidget* parent = nullptr);
    static const QStringList& LicenseLines();
    static const QString& LegalNotice();

  protected:
    void PaintPage(PageWriter& page) override;
};

// "Introduction". Its first hiding records that the introduction has been seen.
class IntroductionPage : public PageWindow {
    Q_OBJECT
  public:
    explicit IntroductionPage(Program& program, QWidget* parent = nullptr);

  protected:
    void PaintPage(PageWriter& page) override;
    void hideEvent(QHideEvent* event) override;
};

// "Notes".
class NotesPage : public PageWindow {
    Q_OBJECT
  public:
    explicit NotesPage(Program& program, QWidget* parent = nullptr);

    QLabel* BrandLabel() const { return brandLabel_; }
    QLabel* RegisteredMarkLabel() const { return registeredMarkLabel_; }
    QLabel* TaglineLabel() const { return taglineLabel_; }

  protected:
    void PaintPage(PageWriter& page) override;
    void ColourLabels(bool printing) override;

  private:
    QLabel* brandLabel_ = nullptr;
    QLabel* registeredMarkLabel_ = nullptr;
    QLabel* taglineLabel_ = nullptr;
};

// "Filter Characteristics": its three links open the notes page, which `notes` gives (making it
// when needed).
class FilterCharacteristicsPage : public PageWindow {
    Q_OBJECT
  public:
    FilterCharacteristicsPage(Program& program, std::function<NotesPage*()> notes, QWidget* parent = nullptr);

    void onNote1Link();
    void onNote2Link();
    void onNotesLink();

    LinkLabel* Note1Link() const { return note1Link_; }
    LinkLabel* Note2Link() const { return note2Link_; }
    LinkLabel* NotesLink() const { return notesLink_; }

  protected:
    void PaintPage(PageWriter& page) override;
    void ColourLabels(bool printing) override;

  private:
    void ShowNotes();
    std::function<NotesPage*()> notes_;
    LinkLabel* note1Link_ = nullptr;
    LinkLabel* note2Link_ = nullptr;
    LinkLabel* notesLink_ = nullptr;
};

// "Configuration Instructions".
class ConfigurationPage : public PageWindow {
    Q_OBJECT
  public:
    explicit ConfigurationPage(Program& program, QWidget* parent = nullptr);

  protected:
    void PaintPage(PageWriter& page) override;
};

// "Contact Information": phone, fax and mail of both offices, and the web site.
class ContactPage : public PageWindow {
    Q_OBJECT
  public:
    explicit ContactPage(Program& program, QWidget* parent = nullptr);

    void onSalesEmailLink();
    void onEuropeSalesEmailLink();
    void onWebSite();

    LinkLabel* SalesEmailLink() const { return salesEmailLink_; }
    LinkLabel* EuropeSalesEmailLink() const { return europeSalesEmailLink_; }
    QPushButton* WebSiteButton() const { return webSiteButton_; }

  protected:
    void PaintPage(PageWriter& page) override;
    void ColourLabels(bool printing) override;

  private:
    LinkLabel* salesEmailLink_ = nullptr;
    LinkLabel* europeSalesEmailLink_ = nullptr;
    QPushButton* webSiteButton_ = nullptr;
};

}  // namespace veltrix
