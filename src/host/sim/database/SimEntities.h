#pragma once
// The emulator's entities: the seam's classes with the geometry the emulator computes for them
// (extents, grip points, exploding) and what only its drawing files give (extents written in the
// file, the parts of a proxy). Every entity of a SimDatabase is one of these.
//
// Computed extents: a polyline or line spans its points; a text or multiline text has its
// lower-left corner at its position, is as high as its height and as wide as its byte length
// times 0.7 x height; a block reference spans its definition's entities placed at its position
// (the position alone outside a database); a proxy spans its parts.

#include <memory>
#include <optional>
#include <vector>

#include "host/Objects.h"

namespace velmarin::host::sim {

// What every entity of the emulator carries beside its seam class.
class SimEntity {
  public:
    virtual ~SimEntity() = default;
    // Extents given in the drawing file win over the computed ones.
    void setExtentsOverride(std::optional<Extents> extents) { extentsOverride_ = extents; }
    const std::optional<Extents>& extentsOverride() const { return extentsOverride_; }
    // A new, non-resident entity equal to this one.
    virtual std::unique_ptr<Entity> clone() const = 0;

  private:
    std::optional<Extents> extentsOverride_;
};

// The emulator's side of an entity; null for one the emulator did not make.
const SimEntity* SimSideOf(const Entity& entity);
SimEntity* SimSideOf(Entity& entity);
// A copy of an entity of the emulator; null for another one.
std::unique_ptr<Entity> Clone(const Entity& entity);

// The computed geometry of each seam class; `owner` is the database of a resident entity.
ErrorStatus ComputedExtents(const Entity& entity, ObjectOwner* owner, Extents& out);
ErrorStatus ComputedExtents(const Text& text, ObjectOwner* owner, Extents& out);
ErrorStatus ComputedExtents(const MText& text, ObjectOwner* owner, Extents& out);
ErrorStatus ComputedExtents(const Polyline& polyline, ObjectOwner* owner, Extents& out);
ErrorStatus ComputedExtents(const Line& line, ObjectOwner* owner, Extents& out);
ErrorStatus ComputedExtents(const BlockReference& reference, ObjectOwner* owner, Extents& out);
ErrorStatus GripPoints(const Entity& entity, std::vector<Point3>& points);
ErrorStatus GripPoints(const Text& text, std::vector<Point3>& points);
ErrorStatus GripPoints(const MText& text, std::vector<Point3>& points);
ErrorStatus GripPoints(const Polyline& polyline, std::vector<Point3>& points);
ErrorStatus GripPoints(const Line& line, std::vector<Point3>& points);

// The seam class `Seam` as the emulator keeps it.
template <typename Seam>
class SimEntityOf : public Seam, public SimEntity {
  public:
    using Seam::Seam;

    ErrorStatus getGeomExtents(Extents& out) const override {
        if (extentsOverride()) {
            out = *extentsOverride();
            return eOk;
        }
        return computeExtents(out);
    }
    ErrorStatus explode(std::vector<Entity*>&) const override { return eNotApplicable; }
    ErrorStatus getGripPoints(std::vector<Point3>& points) const override {
        return GripPoints(static_cast<const Seam&>(*this), points);
    }
    std::unique_ptr<Entity> clone() const override { return std::make_unique<SimEntityOf>(*this); }

  protected:
    virtual ErrorStatus computeExtents(Extents& out) const {
        return ComputedExtents(static_cast<const Seam&>(*this), this->owner(), out);
    }
};

using SimText = SimEntityOf<Text>;

// The classes whose data the seam leaves to the host to fill: the emulator's readers fill them.
class SimAttribute : public SimEntityOf<Attribute> {
  public:
    using Attribute::setTag;
    std::unique_ptr<Entity> clone() const override { return std::make_unique<SimAttribute>(*this); }
};

class SimAttributeDefinition : public SimEntityOf<AttributeDefinition> {
  public:
    using AttributeDefinition::setTag;
    std::unique_ptr<Entity> clone() const override {
        return std::make_unique<SimAttributeDefinition>(*this);
    }
};

class SimMText : public SimEntityOf<MText> {
  public:
    using MText::setContents;
    using MText::setLocation;
    using MText::setTextHeight;
    std::unique_ptr<Entity> clone() const override { return std::make_unique<SimMText>(*this); }
};

class SimPolyline : public SimEntityOf<Polyline> {
  public:
    using Polyline::setPoints;
    std::unique_ptr<Entity> clone() const override { return std::make_unique<SimPolyline>(*this); }
};

class SimLine : public SimEntityOf<Line> {
  public:
    using Line::setPoints;
    std::unique_ptr<Entity> clone() const override { return std::make_unique<SimLine>(*this); }
};

class SimBlockReference : public SimEntityOf<BlockReference> {
  public:
    using BlockReference::setAttributeIds;
    using BlockReference::setBlockTableRecord;
    using BlockReference::setPosition;
    std::unique_ptr<Entity> clone() const override {
        return std::make_unique<SimBlockReference>(*this);
    }
};

// A proxy and the parts its graphics describe, which exploding it gives as new entities.
class SimProxyEntity : public ProxyEntity, public SimEntity {
  public:
    using ProxyEntity::ProxyEntity;
    SimProxyEntity(const SimProxyEntity& other);
    SimProxyEntity& operator=(const SimProxyEntity& other);

    // The parts in file order; each is an entity of the emulator.
    const std::vector<std::unique_ptr<Entity>>& parts() const { return parts_; }
    void addPart(std::unique_ptr<Entity> part) { parts_.push_back(std::move(part)); }

    ErrorStatus getGeomExtents(Extents& out) const override;
    ErrorStatus explode(std::vector<Entity*>& parts) const override;
    ErrorStatus getGripPoints(std::vector<Point3>&) const override { return eNotApplicable; }
    std::unique_ptr<Entity> clone() const override {
        return std::make_unique<SimProxyEntity>(*this);
    }

  private:
    std::vector<std::unique_ptr<Entity>> parts_;
};

}  // namespace velmarin::host::sim
