#pragma once

#include <QPushButton>
#include <QString>
#include <memory>

#include "info/page_window.h"
#include "quote_form/quote_form.h"

class QPaintDevice;
class QPrinter;

namespace veltrix {

inline constexpr const char* kQuoteFormTitle = "Veltrix Quote Request Form";

// The form's text heights on the printer, at its own resolution.
QuoteTextHeights QuoteFormTextHeights(const QPaintDevice& printer);

// Draws the blank quotation request form on the printer as one portrait job titled
// "Veltrix Quote Request Form"; a PDF file is written only whole. On any error the job is aborted
// and false returned, with the file's path and the system's reason in *writeError when writing the
// file failed.
bool PrintQuoteRequestForm(QPrinter& printer, QString* writeError = nullptr);

// "Request for Quote": the two ways to ask for a quotation, online or by a printed form.
class QuoteRequestWindow : public PageWindow {
    Q_OBJECT
  public:
    explicit QuoteRequestWindow(Program& program, QWidget* parent = nullptr);
    ~QuoteRequestWindow() override;

    void onOnlineQuote();
    void onPrintQuoteForm();
    // The form's print command on a given printer: the print dialog, then the form on a portrait page,
    // or a message where even that page is too short for the form's rows. True when printed.
    bool PrintQuoteForm(QPrinter& printer);
    // The window's own printer, made on first use.
    QPrinter& FormPrinter();

    QPushButton* OnlineQuoteButton() const { return onlineQuoteButton_; }
    QPushButton* PrintFormButton() const { return printFormButton_; }

  protected:
    void PaintPage(PageWriter& page) override;

  private:
    std::unique_ptr<QPrinter> printer_;
    QPushButton* onlineQuoteButton_ = nullptr;
    QPushButton* printFormButton_ = nullptr;
};

}  // namespace veltrix
