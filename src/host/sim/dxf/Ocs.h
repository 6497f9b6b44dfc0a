#pragma once
// The object coordinate system of a planar entity. An entity whose extrusion direction is not
// +Z (a mirrored one has (0, 0, -1)) keeps its points in the plane of that direction, on axes
// that the arbitrary axis algorithm derives from the direction alone; the emulator holds every
// point in world coordinates.

#include <cmath>

#include "host/Objects.h"

namespace velmarin::host::sim::dxf {

class ObjectCoordinates {
  public:
    // `normal`: the extrusion direction as stored (any length); a zero vector counts as +Z.
    explicit ObjectCoordinates(const Point3& normal) {
        const double length = std::sqrt(Dot(normal, normal));
        if (length <= 0.0) return;
        z_ = {normal.x / length, normal.y / length, normal.z / length};
        // The world's Y axis, or its Z axis when the direction is close to Z, crossed with it.
        constexpr double kNearZ = 1.0 / 64.0;
        const Point3 seed = std::fabs(z_.x) < kNearZ && std::fabs(z_.y) < kNearZ
                                ? Point3{0.0, 1.0, 0.0}
                                : Point3{0.0, 0.0, 1.0};
        x_ = Unit(Cross(seed, z_));
        y_ = Unit(Cross(z_, x_));
    }

    bool isWorld() const { return z_.x == 0.0 && z_.y == 0.0 && z_.z == 1.0; }
    const Point3& normal() const { return z_; }

    // An object point (or direction) in world coordinates, and back.
    Point3 toWorld(const Point3& p) const {
        return {p.x * x_.x + p.y * y_.x + p.z * z_.x, p.x * x_.y + p.y * y_.y + p.z * z_.y,
                p.x * x_.z + p.y * y_.z + p.z * z_.z};
    }
    Point3 fromWorld(const Point3& p) const { return {Dot(p, x_), Dot(p, y_), Dot(p, z_)}; }

  private:
    static double Dot(const Point3& a, const Point3& b) {
        return a.x * b.x + a.y * b.y + a.z * b.z;
    }
    static Point3 Cross(const Point3& a, const Point3& b) {
        return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    }
    static Point3 Unit(const Point3& a) {
        const double length = std::sqrt(Dot(a, a));
        return {a.x / length, a.y / length, a.z / length};
    }

    Point3 x_{1.0, 0.0, 0.0};
    Point3 y_{0.0, 1.0, 0.0};
    Point3 z_{0.0, 0.0, 1.0};
};

}  // namespace velmarin::host::sim::dxf
