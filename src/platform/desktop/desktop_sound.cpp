#include "platform/desktop/desktop_sound.h"

#include <iostream>

namespace platform {

namespace {
// Beyond the sound's own length, how long a player may take before it is ended anyway.
constexpr int64_t kSlackMs = 2000;
}  // namespace

DesktopSound::DesktopSound(std::string sink) : sink_(std::move(sink)) {
    GError* error = nullptr;
    ready_ = gst_init_check(nullptr, nullptr, &error);
    if (!ready_) {
        std::cerr << "tarnix: no sound: " << (error != nullptr ? error->message : "GStreamer")
                  << '\n';
        if (error != nullptr) {
            g_error_free(error);
        }
    }
}

DesktopSound::~DesktopSound() {
    while (!players_.empty()) {
        end(&players_.front());
    }
}

bool DesktopSound::play(std::string_view path, int64_t fromMs, int64_t durationMs) {
    if (!ready_) {
        return false;
    }
    GstElement* pipeline = gst_element_factory_make("playbin", nullptr);
    if (pipeline == nullptr) {
        return false;
    }
    gchar* uri = gst_filename_to_uri(std::string(path).c_str(), nullptr);
    if (uri == nullptr) {
        gst_object_unref(pipeline);
        return false;
    }
    g_object_set(pipeline, "uri", uri, nullptr);
    g_free(uri);
    if (!sink_.empty()) {
        GError* error = nullptr;
        GstElement* sink = gst_parse_bin_from_description(sink_.c_str(), TRUE, &error);
        if (sink == nullptr) {
            std::cerr << "tarnix: TARNIX_AUDIO_SINK " << sink_
                      << " cannot be used: " << (error != nullptr ? error->message : "") << '\n';
            sink_.clear();
        } else {
            g_object_set(pipeline, "audio-sink", sink, nullptr);
        }
        if (error != nullptr) {
            g_error_free(error);
        }
    }
    players_.push_back({this, std::string(path), pipeline, fromMs});
    Player* player = &players_.back();
    GstBus* bus = gst_element_get_bus(pipeline);
    player->busWatch = gst_bus_add_watch(bus, onBus, player);
    gst_object_unref(bus);
    player->limit = g_timeout_add(
        static_cast<guint>(std::max<int64_t>(durationMs, 0) + kSlackMs),
        [](gpointer data) {
            auto* stuck = static_cast<Player*>(data);
            stuck->limit = 0;
            stuck->owner->end(stuck);
            return G_SOURCE_REMOVE;
        },
        player);
    // Paused first: a sound that starts inside the file is sought once the player is ready.
    if (gst_element_set_state(pipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        end(player);
        return false;
    }
    return true;
}

void DesktopSound::stop(std::string_view path) {
    for (auto it = players_.begin(); it != players_.end();) {
        Player* player = &*it;
        ++it;
        if (player->path == path) {
            end(player);
        }
    }
}

gboolean DesktopSound::onBus(GstBus* /*bus*/, GstMessage* message, gpointer data) {
    auto* player = static_cast<Player*>(data);
    switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_ASYNC_DONE:
            if (!player->started) {
                player->started = true;
                if (player->fromMs > 0) {
                    gst_element_seek_simple(
                        player->pipeline, GST_FORMAT_TIME,
                        static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                        player->fromMs * GST_MSECOND);
                }
                gst_element_set_state(player->pipeline, GST_STATE_PLAYING);
            }
            return G_SOURCE_CONTINUE;
        case GST_MESSAGE_EOS:
        case GST_MESSAGE_ERROR:
            player->busWatch = 0;
            player->owner->end(player);
            return G_SOURCE_REMOVE;
        default:
            return G_SOURCE_CONTINUE;
    }
}

void DesktopSound::end(Player* player) {
    gst_element_set_state(player->pipeline, GST_STATE_NULL);
    if (player->busWatch != 0) {
        g_source_remove(player->busWatch);
    }
    if (player->limit != 0) {
        g_source_remove(player->limit);
    }
    gst_object_unref(player->pipeline);
    players_.remove_if([player](const Player& each) { return &each == player; });
}

}  // namespace platform
