// The idle reference: a program that sets libcurl up as any HTTP client must (global state and one
// easy handle), then only sleeps for the given seconds (default 10). bench/performance measures its
// CPU and memory beside the program's own while idle.
#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    long long seconds = 10;
    if (argc > 1) {
        char* end = nullptr;
        seconds = std::strtoll(argv[1], &end, 10);
        if (*end != '\0' || seconds < 1 || seconds > 3600) {
            std::fprintf(stderr, "usage: curl_sleeper [seconds, 1 to 3600]\n");
            return 2;
        }
    }
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        std::fprintf(stderr, "curl_sleeper: curl_global_init failed\n");
        return 1;
    }
    CURL* handle = curl_easy_init();
    if (handle == nullptr) {
        std::fprintf(stderr, "curl_sleeper: curl_easy_init failed\n");
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    curl_easy_cleanup(handle);
    curl_global_cleanup();
    return 0;
}
