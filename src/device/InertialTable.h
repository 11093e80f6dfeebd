// The fixed signal table of the inertial-measurement module: channel n of such a slot carries
// row n mod 56 (name, range text, physical units per count, offset).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

struct InertialChannel {
    std::string_view name;
    std::string_view range;
    double factor;
    double offset;
};

inline constexpr std::size_t kInertialChannelCount = 56;

inline constexpr std::array<InertialChannel, kInertialChannelCount> kInertialChannels{{
    {"In_Stddev_Yaw", "2.55deg", 0.01, 0.0},
    {"In_Stddev_Pitch", "2.55deg", 0.01, 0.0},
    {"In_Stddev_Roll", "2.55deg", 0.01, 0.0},
    {"In_Stddev_Vel_Z_Frame", "2.55m/s", 0.01, 0.0},
    {"In_Stddev_Vel_Y_Frame", "2.55m/s", 0.01, 0.0},
    {"In_Stddev_Vel_X_Frame", "2.55m/s", 0.01, 0.0},
    {"In_Vel_Z_Frame", "100m/s", 0.005, 0.0},
    {"In_Vel_Y_Frame", "100m/s", 0.005, 0.0},
    {"In_Vel_X_Frame", "100m/s", 0.005, 0.0},
    {"In_Vel_Z_Horiz", "100m/s", 0.005, 0.0},
    {"In_Vel_Y_Horiz", "100m/s", 0.005, 0.0},
    {"In_Vel_X_Horiz", "100m/s", 0.005, 0.0},
    {"In_Long_Rel(L)", "100m", 0.01, 0.0},
    {"In_Long_Rel(H)", "3000 km", 0.1, 0.0},
    {"In_Lat_Rel(L)", "100m", 0.01, 0.0},
    {"In_Lat_Rel(H)", "3000 km", 0.1, 0.0},
    {"In_Height(L)", "100m", 0.01, 0.0},
    {"In_Height(H)", "3000 km", 0.1, 0.0},
    {"GPS_Height(L)", "100m", 0.01, 0.0},
    {"GPS_Height(H)", "3000 km", 0.1, 0.0},
    {"GPS_Course", "360deg", 0.02, 0.0},
    {"Tilt_Yaw", "360deg", 0.02, 0.0},
    {"Tilt_Pitch", "60deg", 0.01, 0.0},
    {"Tilt_Roll", "60deg", 0.01, 0.0},
    {"GPS_Aux_Sat_Visible", "12n", 1.0, 0.0},
    {"GPS_Aux_Long_Delay", "20Ta", 1.0, 0.0},
    {"GPS_Aux_Diff_Age", "3200s", 0.2, 0.0},
    {"GPS_Stddev_Height", "60m", 0.002, 0.0},
    {"GPS_Stddev_Long", "60m", 0.002, 0.0},
    {"GPS_Stddev_Lat", "60m", 0.002, 0.0},
    {"Sys_DSP_Load", "100%", 0.2, 0.0},
    {"Sys_TimeSinceInit", "65534s", 2.0, 0.0},
    {"Sys_Temp", "127C", 0.1, 0.0},
    {"Sys_Ta", "20000us", 1.0, 0.0},
    {"Misc_Distance_Travelled", "500m", 0.02, 0.0},
    {"Misc_Slip_Angle", "180deg", 0.01, 0.0},
    {"Misc_Inv_Path_Radius", "3.2767 1/m", 0.0001, 0.0},
    {"Accel_Z_Frame", "5G", 0.0002, 0.0},
    {"Accel_Y_Frame", "5G", 0.0002, 0.0},
    {"Accel_X_Frame", "5G", 0.0002, 0.0},
    {"Accel_Z_Horiz", "5G", 0.0002, 0.0},
    {"Accel_Y_Horiz", "5G", 0.0002, 0.0},
    {"Accel_X_Horiz", "5G", 0.0002, 0.0},
    {"Accel_Z_Body", "5G", 0.0002, 0.0},
    {"Accel_Y_Body", "5G", 0.0002, 0.0},
    {"Accel_X_Body", "5G", 0.0002, 0.0},
    {"Rate_Z_Frame", "320deg/s", 0.01, 0.0},
    {"Rate_Y_Frame", "98deg/s", 0.01, 0.0},
    {"Rate_X_Frame", "98deg/s", 0.01, 0.0},
    {"Rate_Z_Horiz", "320deg/s", 0.01, 0.0},
    {"Rate_Y_Horiz", "98deg/s", 0.01, 0.0},
    {"Rate_X_Horiz", "98deg/s", 0.01, 0.0},
    {"Rate_Z_Body", "320deg/s", 0.01, 0.0},
    {"Rate_Y_Body", "98deg/s", 0.01, 0.0},
    {"Rate_X_Body", "98deg/s", 0.01, 0.0},
    {"Stat_GPS", "10sts", 1.0, 0.0},
}};

inline const InertialChannel& GetInertialChannel(int channel) {
    return kInertialChannels[static_cast<std::size_t>(channel) % kInertialChannelCount];
}
