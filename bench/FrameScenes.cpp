#include "bench/FrameScenes.h"

namespace zimtone::bench {

const std::vector<FrameScene>& frame_scenes() {
    static const std::vector<FrameScene> scenes{
        {"banner",
         "springboard",
         {"bulletin com.example.zebra \"Zebra Stripes\" \"Meet at the water hole\""}},
        {"notification_center",
         "springboard",
         {"bulletin com.example.zebra Zebra Stripes", "dismiss",
          "bulletin com.apple.mobilenotes Notes \"Buy milk\"", "dismiss",
          "bulletin com.apple.MobileSMS Mossglint \"See you at eight\"", "dismiss", "nc open"}},
        {"lock_screen",
         "springboard",
         {"lock", "bulletin com.example.zebra Zebra Stripes",
          "bulletin com.apple.mobilenotes Notes \"Buy milk\"",
          "bulletin com.apple.MobileSMS Mossglint \"See you at eight\""}},
        {"quick_reply", "messages", {"reply Mossglint \"See you at eight?\""}},
    };
    return scenes;
}

} // namespace zimtone::bench
