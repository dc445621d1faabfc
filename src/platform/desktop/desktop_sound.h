#pragma once

#include <gst/gst.h>

#include <list>
#include <string>
#include <string_view>

namespace platform {

// Sounds played by GStreamer, each in its own player that ends by itself after the file (or at
// the latest a little after its length: a stuck output never keeps a player). On a machine
// without a sound card the player falls back to a silent output.
class DesktopSound {
  public:
    // sink: a sink description every sound plays to; empty for the desktop's output.
    explicit DesktopSound(std::string sink);
    ~DesktopSound();
    DesktopSound(const DesktopSound&) = delete;
    DesktopSound& operator=(const DesktopSound&) = delete;

    bool play(std::string_view path, int64_t fromMs, int64_t durationMs);
    void stop(std::string_view path);

  private:
    struct Player {
        DesktopSound* owner = nullptr;
        std::string path;
        GstElement* pipeline = nullptr;
        int64_t fromMs = 0;
        bool started = false;
        unsigned busWatch = 0;
        unsigned limit = 0;
    };

    static gboolean onBus(GstBus* bus, GstMessage* message, gpointer player);
    void end(Player* player);

    std::string sink_;
    bool ready_ = false;
    std::list<Player> players_;
};

}  // namespace platform
