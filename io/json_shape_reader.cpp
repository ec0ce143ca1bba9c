#include "io/json_shape_reader.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QStringList>
#include <algorithm>

#include "io/finite_float.h"
#include "io/json_member_check.h"
#include "io/json_number_check.h"
#include "io/one_line_text.h"

namespace {

// What the JSON parser stopped at, in our words.
std::string JsonProblem(QJsonParseError::ParseError error) {
    switch (error) {
        case QJsonParseError::UnterminatedObject:
            return "an object is not closed by }";
        case QJsonParseError::MissingNameSeparator:
            return "a member's name is not followed by :";
        case QJsonParseError::UnterminatedArray:
            return "an array is not closed by ]";
        case QJsonParseError::MissingValueSeparator:
            return "values are not separated by ,";
        case QJsonParseError::IllegalValue:
            return "a value is not a number, string, array, object, true, false or null";
        case QJsonParseError::TerminationByNumber:
        case QJsonParseError::UnterminatedString:
            return "the file ends inside a value";
        case QJsonParseError::IllegalNumber:
            return "a number is malformed";
        case QJsonParseError::IllegalEscapeSequence:
            return "a string has a bad escape sequence";
        case QJsonParseError::IllegalUTF8String:
            return "a string is not valid UTF-8";
        case QJsonParseError::MissingObject:
            return "a value is missing";
        case QJsonParseError::DeepNesting:
            return "arrays and objects are nested too deeply";
        case QJsonParseError::DocumentTooLarge:
            return "the document is too large";
        case QJsonParseError::GarbageAtEnd:
            return "more follows the top-level object";
        default:
            return "cannot be parsed";
    }
}

// Whether object has no members other than allowed; names the first other in problem.
bool OnlyMembers(const QJsonObject& object, const QStringList& allowed, const std::string& where,
                 std::string& problem) {
    for (auto it = object.begin(); it != object.end(); ++it)
        if (!allowed.contains(it.key())) {
            problem = where + ": unknown member \"" + OneLine(it.key().toStdString(), 40) + "\"";
            return false;
        }
    return true;
}

bool ReadPoint(const QJsonValue& value, const std::string& where, Point3& p, std::string& problem) {
    QJsonArray array = value.toArray();
    if (!value.isArray() || array.size() != 3) {
        problem = where + ": expected an array of three numbers";
        return false;
    }
    for (int i = 0; i < 3; ++i)
        if (!array[i].isDouble() || !ToFiniteFloat(array[i].toDouble(), p[i])) {
            problem = where + ": expected an array of three finite single-precision numbers";
            return false;
        }
    return true;
}

bool ReadKnot(const QJsonValue& value, const std::string& where, SplineKnot& knot,
              std::string& problem) {
    if (!value.isObject()) {
        problem = where + ": expected an object";
        return false;
    }
    QJsonObject object = value.toObject();
    if (!OnlyMembers(object, {"in", "knot", "out"}, where, problem))
        return false;
    if (!object.contains("knot")) {
        problem = where + ": has no \"knot\"";
        return false;
    }
    if (!ReadPoint(object.value("knot"), where + ".knot", knot.knot, problem))
        return false;
    knot.inVec = knot.knot;
    knot.outVec = knot.knot;
    if (object.contains("in") && !ReadPoint(object.value("in"), where + ".in", knot.inVec, problem))
        return false;
    if (object.contains("out") &&
        !ReadPoint(object.value("out"), where + ".out", knot.outVec, problem))
        return false;
    return true;
}

bool ReadSpline(const QJsonValue& value, const std::string& where, Spline3D& spline,
                std::string& problem) {
    if (!value.isObject()) {
        problem = where + ": expected an object";
        return false;
    }
    QJsonObject object = value.toObject();
    if (!OnlyMembers(object, {"closed", "knots"}, where, problem))
        return false;
    if (object.contains("closed") && !object.value("closed").isBool()) {
        problem = where + ".closed: expected true or false";
        return false;
    }
    spline.closed = object.value("closed").toBool(false);
    QJsonArray knots = object.value("knots").toArray();
    if (!object.value("knots").isArray() || knots.isEmpty()) {
        problem = where + ".knots: expected an array of at least one knot";
        return false;
    }
    for (int i = 0; i < knots.size(); ++i) {
        SplineKnot knot;
        if (!ReadKnot(knots[i], where + ".knots[" + std::to_string(i) + "]", knot, problem))
            return false;
        spline.AddKnot(knot);
    }
    return true;
}

long LineAt(const std::string& text, std::size_t offset) {
    return 1 + static_cast<long>(std::count(text.begin(), text.begin() + offset, '\n'));
}

}  // namespace

bool ReadJsonShape(const std::string& path, const std::string& bytes,
                   std::vector<Spline3D>& splines, std::string& error) {
    splines.clear();
    std::size_t badAt = 0;
    std::string badNumber;
    if (!CheckJsonNumbers(bytes, badAt, badNumber)) {
        error = path + ": line " + std::to_string(LineAt(bytes, badAt)) + ": illegal number \"" +
                OneLine(badNumber, 40) + "\"";
        return false;
    }
    std::string repeated;
    if (!CheckJsonMembers(bytes, badAt, repeated)) {
        error = path + ": line " + std::to_string(LineAt(bytes, badAt)) + ": member \"" +
                OneLine(repeated, 40) + "\" appears twice in one object";
        return false;
    }
    if (bytes.find_first_not_of(" \t\r\n") == std::string::npos) {
        error = path + ": is empty (a JSON shape is an object with a \"splines\" array)";
        return false;
    }
    QJsonParseError parseError;
    QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(bytes.data(), static_cast<int>(bytes.size())), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        std::size_t offset =
            std::min(bytes.size(), static_cast<std::size_t>(std::max(0, parseError.offset)));
        error = path + ": line " + std::to_string(LineAt(bytes, offset)) +
                ": not JSON: " + JsonProblem(parseError.error);
        return false;
    }
    std::string problem;
    QJsonObject root = document.object();
    if (!document.isObject()) {
        error = path + ": expected an object with a \"splines\" array";
        return false;
    }
    if (!OnlyMembers(root, {"splines"}, "the top level", problem)) {
        error = path + ": " + problem;
        return false;
    }
    if (!root.value("splines").isArray()) {
        error = path + ": expected an object with a \"splines\" array";
        return false;
    }
    QJsonArray array = root.value("splines").toArray();
    std::vector<Spline3D> read(static_cast<std::size_t>(array.size()));
    for (int i = 0; i < array.size(); ++i)
        if (!ReadSpline(array[i], "splines[" + std::to_string(i) + "]", read[i], problem)) {
            error = path + ": " + problem;
            return false;
        }
    splines.swap(read);
    return true;
}
