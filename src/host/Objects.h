#pragma once
// Database objects of the CAD host seam: what the plug-in reads of each (its texts, points, tag
// and layer, with the host's class names and class tests) and the setters it uses for the texts
// and layers it adds. Geometry is the host's: each host subclasses the entities and answers
// their extents, grip points and explosion. A database (Host.h) owns the resident objects and
// hands them out through open/close. Objects that are not database-resident (the parts of an
// exploded entity, a text not yet appended) are deleted by close().

#include <optional>
#include <string>
#include <vector>

#include "host/HostTypes.h"

namespace velmarin::host {

class DbObject;

// The database side of open/close: a resident object is closed through its owner.
class ObjectOwner {
  public:
    virtual ~ObjectOwner() = default;
    virtual ErrorStatus closeObject(DbObject* object) = 0;
};

class DbObject {
  public:
    DbObject() = default;
    // A copy (a clone, the part of an exploded entity) is a new object: not resident and not
    // open, whatever the original is, so that close() deletes it instead of closing the original.
    DbObject(const DbObject& other) : erased_(other.erased_) {}
    DbObject& operator=(const DbObject& other) {
        erased_ = other.erased_;
        return *this;
    }
    virtual ~DbObject() = default;
    // The host class name ("AcDbText", "AcDbZombieEntity", ...).
    virtual std::string className() const = 0;

    ObjectId objectId() const { return id_; }
    bool isErased() const { return erased_; }
    bool isDatabaseResident() const { return owner_ != nullptr; }
    bool isWriteEnabled() const { return writeEnabled_; }
    void setErased(bool erased) { erased_ = erased; }

    // Ends an open; deletes the object when it is not database-resident.
    ErrorStatus close();

    // For the database that owns the object.
    void attachTo(ObjectOwner* owner, ObjectId id) {
        owner_ = owner;
        id_ = id;
    }
    void setWriteEnabled(bool enabled) { writeEnabled_ = enabled; }

  protected:
    ObjectOwner* owner() const { return owner_; }

  private:
    ObjectOwner* owner_ = nullptr;
    ObjectId id_ = kNullId;
    bool erased_ = false;
    bool writeEnabled_ = false;
};

class Entity : public DbObject {
  public:
    const std::string& layer() const { return layer_; }
    void setLayer(const std::string& layer) { layer_ = layer; }

    // The host's geometry of the entity. eNotApplicable where the class has none (the grip
    // points of a block reference, the parts of an entity that does not explode).
    virtual ErrorStatus getGeomExtents(Extents& out) const = 0;
    // New, non-resident entities; the caller closes each one.
    virtual ErrorStatus explode(std::vector<Entity*>& parts) const = 0;
    virtual ErrorStatus getGripPoints(std::vector<Point3>& points) const = 0;

  private:
    std::string layer_ = "0";
};

// Single-line text.
class Text : public Entity {
  public:
    std::string className() const override { return "AcDbText"; }
    const std::string& textString() const { return text_; }
    void setTextString(const std::string& text) { text_ = text; }
    const Point3& position() const { return position_; }
    void setPosition(const Point3& position) { position_ = position; }
    double height() const { return height_; }
    void setHeight(double height) { height_ = height; }
    // Unset until a width factor is given; the host's default is 1.0.
    const std::optional<double>& widthFactor() const { return widthFactor_; }
    void setWidthFactor(double factor) { widthFactor_ = factor; }
    ObjectId textStyle() const { return textStyle_; }
    void setTextStyle(ObjectId style) { textStyle_ = style; }

  private:
    std::string text_;
    Point3 position_;
    double height_ = 2.5;
    std::optional<double> widthFactor_;
    ObjectId textStyle_ = kNullId;
};

class AttributeDefinition : public Text {
  public:
    std::string className() const override { return "AcDbAttributeDefinition"; }
    const std::string& tag() const { return tag_; }

  protected:
    // Filled by the host that made or opened the entity.
    void setTag(const std::string& tag) { tag_ = tag; }

  private:
    std::string tag_;
};

class Attribute : public Text {
  public:
    std::string className() const override { return "AcDbAttribute"; }
    const std::string& tag() const { return tag_; }

  protected:
    // Filled by the host that made or opened the entity.
    void setTag(const std::string& tag) { tag_ = tag; }

  private:
    std::string tag_;
};

// Multiline text; its contents keep their format codes.
class MText : public Entity {
  public:
    std::string className() const override { return "AcDbMText"; }
    const std::string& contents() const { return contents_; }
    const Point3& location() const { return location_; }
    double textHeight() const { return height_; }

  protected:
    // Filled by the host that made or opened the entity.
    void setContents(const std::string& contents) { contents_ = contents; }
    void setLocation(const Point3& location) { location_ = location; }
    void setTextHeight(double height) { height_ = height; }

  private:
    std::string contents_;
    Point3 location_;
    double height_ = 2.5;
};

// Lightweight polyline; its grip points are its vertices in order.
class Polyline : public Entity {
  public:
    std::string className() const override { return "AcDbPolyline"; }
    const std::vector<Point3>& points() const { return points_; }

  protected:
    // Filled by the host that made or opened the entity.
    void setPoints(std::vector<Point3> points) { points_ = std::move(points); }

  private:
    std::vector<Point3> points_;
};

class Line : public Entity {
  public:
    std::string className() const override { return "AcDbLine"; }
    const Point3& startPoint() const { return start_; }
    const Point3& endPoint() const { return end_; }

  protected:
    // Filled by the host that made or opened the entity.
    void setPoints(const Point3& start, const Point3& end) {
        start_ = start;
        end_ = end;
    }

  private:
    Point3 start_;
    Point3 end_;
};

// A block reference; its attributes are resident objects of their own, in stored order.
class BlockReference : public Entity {
  public:
    std::string className() const override { return "AcDbBlockReference"; }
    ObjectId blockTableRecord() const { return block_; }
    const Point3& position() const { return position_; }
    const std::vector<ObjectId>& attributeIds() const { return attributes_; }

  protected:
    // Filled by the host that made or opened the entity.
    void setBlockTableRecord(ObjectId block) { block_ = block; }
    void setPosition(const Point3& position) { position_ = position; }
    void setAttributeIds(std::vector<ObjectId> ids) { attributes_ = std::move(ids); }

  private:
    ObjectId block_ = kNullId;
    Point3 position_;
    std::vector<ObjectId> attributes_;
};

// A proxy entity: the host cannot run the class that made it, and explodes it into the parts
// its proxy graphics describe.
class ProxyEntity : public Entity {
  public:
    explicit ProxyEntity(std::string className = "AcDbZombieEntity")
        : className_(std::move(className)) {}
    std::string className() const override { return className_; }

  private:
    std::string className_;
};

// Symbol tables and records: implemented by each host.

class BlockTableRecord : public DbObject {
  public:
    virtual std::string getName() const = 0;
    // The entities in storage order, erased ones skipped (the record iterator).
    virtual std::vector<ObjectId> entityIds() const = 0;
    // Makes `entity` resident (the record must be open for write); the caller closes it.
    virtual ErrorStatus appendEntity(Entity* entity, ObjectId& id) = 0;
};

class BlockTable : public DbObject {
  public:
    std::string className() const override { return "AcDbBlockTable"; }
    virtual ErrorStatus getAt(const std::string& name, ObjectId& id) const = 0;
};

class LayerTableRecord : public DbObject {
  public:
    std::string className() const override { return "AcDbLayerTableRecord"; }
    const std::string& getName() const { return name_; }
    void setName(const std::string& name) { name_ = name; }
    bool isFrozen() const { return frozen_; }
    void setIsFrozen(bool value) { frozen_ = value; }
    bool isOff() const { return off_; }
    void setIsOff(bool value) { off_ = value; }
    bool VPDFLT() const { return vpdflt_; }
    void setVPDFLT(bool value) { vpdflt_ = value; }
    bool isLocked() const { return locked_; }
    void setIsLocked(bool value) { locked_ = value; }

  private:
    std::string name_;
    bool frozen_ = false;
    bool off_ = false;
    bool vpdflt_ = false;
    bool locked_ = false;
};

class LayerTable : public DbObject {
  public:
    std::string className() const override { return "AcDbLayerTable"; }
    virtual bool has(const std::string& name) const = 0;
    // Makes `record` resident (the table must be open for write); the caller closes it.
    virtual ErrorStatus add(LayerTableRecord* record, ObjectId& id) = 0;
};

inline constexpr const char kModelSpace[] = "*Model_Space";

}  // namespace velmarin::host
