// The desktop backend under a real X server: where windows land, what the canvas draws, what the
// model learns of text sizes.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "platform/desktop/desktop_backend.h"
#include "platform/desktop/desktop_windows.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/traced_backend.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/loop.h"

namespace {

using namespace platform;

// A window that stays out of the taskbar, like a pop-up, with a red picture box holding a label.
class frmPanel : public win::Form {
  public:
    frmPanel()
        : Form("frmPanel", {.Left = 3000,
                            .Top = 10500,
                            .Width = 3000,
                            .Height = 1500,
                            .BorderStyle = win::vbBSNone,
                            .ShowInTaskbar = false}) {}
    win::PictureBox picRed{
        this,
        "picRed",
        {.Left = 0, .Top = 0, .Width = 1500, .Height = 1500, .BackColor = 0x0000FF}};
    win::Label lblInside{this,
                         "lblInside",
                         {.Container = &picRed,
                          .Left = 150,
                          .Top = 150,
                          .Width = 600,
                          .Height = 300,
                          .Caption = "WWWW",
                          .BackStyle = 1,
                          .AutoSize = true,
                          .BackColor = 0xFF0000}};
};

class DesktopWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string why;
        auto desktop = DesktopBackend::open({}, why);
        ASSERT_NE(desktop, nullptr) << why;
        desktop_ = desktop.get();
        previousClock_ = installClock(std::make_unique<RealClock>());
        previousBackend_ = installBackend(std::make_unique<TracedBackend>(std::move(desktop)));
    }
    void TearDown() override {
        installBackend(std::move(previousBackend_));
        installClock(std::move(previousClock_));
    }
    // Lets the X server map and move what the model showed.
    void settle() { win::RunFor(150); }

    // The colour of a canvas pixel, as 0xRRGGBB.
    uint32_t canvasPixel(int32_t hWnd, int x, int y) {
        GtkWidget* canvas = desktop_->windows().canvasWidget(hWnd);
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 400, 400);
        cairo_t* cr = cairo_create(surface);
        gtk_widget_draw(canvas, cr);
        cairo_destroy(cr);
        cairo_surface_flush(surface);
        const auto* row = cairo_image_surface_get_data(surface) +
                          static_cast<ptrdiff_t>(y) * cairo_image_surface_get_stride(surface);
        const uint32_t pixel = reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
        cairo_surface_destroy(surface);
        return pixel;
    }

    DesktopBackend* desktop_ = nullptr;

  private:
    std::unique_ptr<Clock> previousClock_;
    std::unique_ptr<Backend> previousBackend_;
};

TEST_F(DesktopWindowsTest, AWindowOutOfTheTaskbarLandsWhereTheModelPutsItEvenBelowTheWorkArea) {
    auto& panel = win::Default<frmPanel>();
    panel.Show();
    settle();
    GdkWindow* window = gtk_widget_get_window(desktop_->windows().windowWidget(panel.hWnd()));
    ASSERT_NE(window, nullptr);
    // 10500 twips is 700 px: the lower 64 px lie below the 736 px work area.
    const std::pair<float, float> places[] = {{3000, 10500}, {4500, 11250}, {0, 0}};
    for (const auto& [left, top] : places) {
        panel.Move(left, top, 3000, 1500);
        // The server places the window in its own time: wait for it, within a bound.
        int x = -1;
        int y = -1;
        for (int waited = 0; waited < 3000 && (x != left / 15 || y != top / 15); waited += 10) {
            win::RunFor(10);
            gdk_window_get_origin(window, &x, &y);
        }
        EXPECT_EQ(x, left / 15) << left << "," << top;
        EXPECT_EQ(y, top / 15) << left << "," << top;
        EXPECT_EQ(gdk_window_get_width(window), 200);
        EXPECT_EQ(gdk_window_get_height(window), 100);
    }
}

TEST_F(DesktopWindowsTest, TheCanvasDrawsAPictureBoxAndItsChildrenOnlyWhileItIsVisible) {
    auto& panel = win::Default<frmPanel>();
    panel.Show();
    settle();
    const int32_t hWnd = panel.hWnd();
    EXPECT_EQ(canvasPixel(hWnd, 95, 95), 0xFF0000u);  // the red box (0x00BBGGRR 0x0000FF)
    EXPECT_EQ(canvasPixel(hWnd, 11, 11), 0x0000FFu);  // the label's blue back
    panel.picRed.setVisible(false);
    settle();
    EXPECT_NE(canvasPixel(hWnd, 95, 95), 0xFF0000u);
    EXPECT_NE(canvasPixel(hWnd, 11, 11), 0x0000FFu);
}

TEST_F(DesktopWindowsTest, AnAutoSizedLabelTakesTheSizeTheDesktopFontGivesIt) {
    auto& panel = win::Default<frmPanel>();
    panel.Load();
    const float wide = panel.lblInside.Width();
    panel.lblInside.setCaption("iiii");
    const float narrow = panel.lblInside.Width();
    // A fixed width per character would make both the same.
    EXPECT_GT(wide, narrow);
    const auto extent = desktop_->measureText({"iiii", 8, false, 0});
    ASSERT_TRUE(extent.has_value());
    EXPECT_EQ(narrow, static_cast<float>(extent->widthPx * 15));
    EXPECT_EQ(panel.lblInside.Height(), static_cast<float>(extent->heightPx * 15));
}

}  // namespace
