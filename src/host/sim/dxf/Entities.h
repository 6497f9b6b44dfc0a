#pragma once
// Entity classes that only DXF drawings bring into the emulator: entities it does not model
// (kept as they were read), block references with scale, rotation and arrays, and the old
// polylines that keep their vertices as entities of their own.

#include <memory>
#include <optional>
#include <string>

#include "host/Objects.h"
#include "host/sim/database/SimEntities.h"

namespace velmarin::host::sim {

// An entity of a type the emulator does not model (circle, hatch, dimension, ...): it keeps
// its place in its block and its layer, its host class name, and the box its points span
// where they say it plainly. The file keeps its group codes.
class DxfOtherEntity : public Entity, public SimEntity {
  public:
    DxfOtherEntity(std::string className, std::string dxfType)
        : className_(std::move(className)), dxfType_(std::move(dxfType)) {}
    std::string className() const override { return className_; }
    const std::string& dxfType() const { return dxfType_; }
    void setBox(const Extents& box) { box_ = box; }

    ErrorStatus getGeomExtents(Extents& out) const override;
    ErrorStatus explode(std::vector<Entity*>&) const override { return eNotApplicable; }
    ErrorStatus getGripPoints(std::vector<Point3>&) const override { return eNotApplicable; }
    std::unique_ptr<Entity> clone() const override {
        return std::make_unique<DxfOtherEntity>(*this);
    }

  private:
    std::string className_;
    std::string dxfType_;
    std::optional<Extents> box_;
};

// A block reference as DXF stores it: scaled, rotated, and for a multiple insert repeated in
// rows and columns, in the plane of its extrusion direction (`normal`; a mirrored reference has
// (0, 0, -1)). Its position is in world coordinates.
class DxfBlockReference : public SimBlockReference {
  public:
    explicit DxfBlockReference(std::string className = "AcDbBlockReference")
        : className_(std::move(className)) {}
    std::string className() const override { return className_; }

    Point3 scale{1.0, 1.0, 1.0};
    Point3 normal{0.0, 0.0, 1.0};
    double rotationDegrees = 0.0;
    int columns = 1;
    int rows = 1;
    double columnSpacing = 0.0;
    double rowSpacing = 0.0;

    std::unique_ptr<Entity> clone() const override {
        return std::make_unique<DxfBlockReference>(*this);
    }

  protected:
    ErrorStatus computeExtents(Extents& out) const override;

  private:
    std::string className_;
};

// A polyline stored with VERTEX entities: "AcDb2dPolyline" or "AcDb3dPolyline". It is no
// lightweight polyline to the host's class tests, but its points serve like one's.
class DxfHeavyPolyline : public SimPolyline {
  public:
    explicit DxfHeavyPolyline(bool is3d) : is3d_(is3d) {}
    std::string className() const override { return is3d_ ? "AcDb3dPolyline" : "AcDb2dPolyline"; }
    bool is3d() const { return is3d_; }
    std::unique_ptr<Entity> clone() const override {
        return std::make_unique<DxfHeavyPolyline>(*this);
    }

  private:
    bool is3d_;
};

}  // namespace velmarin::host::sim
