#include "sim/script/Printers.h"

#include <numbers>
#include <string_view>

#include "sim/text/NumberText.h"
#include "sim/text/TextWords.h"
#include "sim/world/VesselState.h"

namespace vx {

namespace {

std::string vectorText(const VECTOR3& v) {
    std::string text;
    appendVector(text, v);
    return text;
}

void printPoints(const std::vector<std::unique_ptr<VxAttachment>>& points, const char* kind,
                 Transcript& out) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        const VxAttachment& point = *points[i];
        std::string line = std::string("attach ") + kind + " " + std::to_string(i) + " " +
                           (point.id[0] != '\0' ? point.id.data() : "-");
        line += " pos " + vectorText(point.pos) + " dir " + vectorText(point.dir) + " rot " +
                vectorText(point.rot);
        out.print(line);
    }
}

void printLines(std::string_view text, Transcript& out) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        out.print(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
}

} // namespace

void printVessel(VesselRecord& vessel, Transcript& out) {
    out.print("name " + vessel.name);
    out.print("class " + vessel.className);
    out.print("emptymass " + formatNumber(vessel.emptyMass));
    const VesselDefinition& def = vessel.def;
    out.print("size " + formatNumber(def.size));
    out.print("albedo " + vectorText(def.albedo));
    out.print("visibility " + formatNumber(def.visibilityLimit) + " " +
              formatNumber(def.spotLimit));
    out.print("cw " + formatNumber(def.cw[0]) + " " + formatNumber(def.cw[1]) + " " +
              formatNumber(def.cw[2]) + " " + formatNumber(def.cw[3]));
    out.print("wing " + formatNumber(def.wingAspect) + " " + formatNumber(def.wingEffectiveness));
    out.print("crosssections " + vectorText(def.crossSections));
    out.print("rotdrag " + vectorText(def.rotDrag));
    out.print("moments " + formatNumber(def.pitchMomentScale) + " " +
              formatNumber(def.bankMomentScale));
    out.print("pmi " + vectorText(def.pmi));
    out.print("trim " + formatNumber(def.trimScale));
    out.print("camera " + vectorText(def.cameraOffset));
    out.print(std::string("lift ") + (def.liftCoeff != nullptr ? "function" : "-"));
    std::string touchdown = "touchdown";
    if (!def.hasTouchdownPoints) {
        touchdown += " -";
    }
    for (std::size_t i = 0; def.hasTouchdownPoints && i < def.touchdownPoints.size(); ++i) {
        touchdown += ' ';
        touchdown += vectorText(def.touchdownPoints[i]);
    }
    out.print(touchdown);
    out.print("pos " + vectorText(vessel.pos()));
    out.print("vel " + vectorText(vessel.vel()));
    out.print("ori " + vectorText(orientationDegrees(vessel)));
    out.print("avel " + vectorText(angularVelDegrees(vessel)));
    out.print(std::string("status ") +
              (vessel.status() == VESSELSTATUS_LANDED ? "LANDED" : "FLIGHT"));
    for (const auto& port : vessel.docks) {
        std::string line = "dock " + std::to_string(port->index) + " pos " + vectorText(port->pos) +
                           " dir " + vectorText(port->dir) + " rot " + vectorText(port->rot) +
                           " mate ";
        if (port->mate != nullptr) {
            line += port->mate->owner->name + " " + std::to_string(port->mate->index);
        } else {
            line += "-";
        }
        out.print(line);
    }
    printPoints(vessel.childPoints, "child", out);
    printPoints(vessel.parentPoints, "parent", out);
    for (std::size_t i = 0; i < vessel.meshes.size(); ++i) {
        const MeshRecord& mesh = vessel.meshes[i];
        std::string line = "mesh " + std::to_string(i) + " " + mesh.name + " mode " +
                           std::to_string(mesh.visibilityMode);
        if (mesh.hasOffset) {
            line += " offset " + vectorText(mesh.offset);
        }
        out.print(line);
    }
    for (std::size_t i = 0; i < vessel.animations.size(); ++i) {
        out.print("anim " + std::to_string(i) + " " + formatNumber(vessel.animations[i].state));
    }
    out.print("hud " + (vessel.hudDrawn ? vessel.hudText : std::string("-")));
}

bool printCommand(World& world, const Command& command, Transcript& out, std::string& reason) {
    switch (command.print) {
    case PrintWhat::Time:
        out.print("time " + formatNumber(world.simTime()));
        return true;
    case PrintWhat::Hud:
        out.print("hud " + (world.hudText().empty() ? std::string("-") : world.hudText()));
        return true;
    case PrintWhat::Debug: {
        const std::string_view line = world.debugText();
        out.print("debug " + std::string(line.empty() ? std::string_view("-") : line));
        return true;
    }
    case PrintWhat::Vessels:
        for (std::size_t i = 0; i < world.vessels().size(); ++i) {
            const VesselRecord& vessel = *world.vessels()[i];
            out.print(std::to_string(i) + " " + vessel.name + " (" + vessel.className + ")" +
                      (&vessel == world.focus() ? " focus" : ""));
        }
        return true;
    case PrintWhat::Scenario:
        printLines(world.scenarioText(), out);
        return true;
    case PrintWhat::Vessel:
    case PrintWhat::Lift:
        break;
    }
    VesselRecord* vessel = world.findVessel(command.name);
    if (vessel == nullptr) {
        reason = "print: no vessel named " + text::quoted(command.name);
        return false;
    }
    if (command.print == PrintWhat::Vessel) {
        printVessel(*vessel, out);
        return true;
    }
    const LiftCoeffFunc lift = vessel->def.liftCoeff;
    out.print("lift " + formatNumber(command.degrees) + " " +
              (lift != nullptr ? formatNumber(lift(command.degrees * (std::numbers::pi / 180.0)))
                               : std::string("-")));
    return true;
}

} // namespace vx
