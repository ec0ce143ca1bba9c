// A Delaunay refinement mesher: CGAL's edge and face refinement levels, with bad faces
// waiting in buckets by quality (worst bucket first, first in, first out within one)
// instead of CGAL's map ordered by corner points: with thousands of bad faces the map's
// upkeep took half of the refinement time. An entry keeps its face's three corners and
// goes stale once the face dies or changes. Conflict zones are kept in vectors.
#ifndef SLITFORM_TRIANGLE_QUALITY_MESHER_H
#define SLITFORM_TRIANGLE_QUALITY_MESHER_H

#include <CGAL/Constrained_triangulation_plus_2.h>
#include <CGAL/Mesh_2/Refine_edges_with_clusters.h>
#include <CGAL/Mesh_2/Refine_faces.h>
// The visitor needs the two levels above declared first.
#include <CGAL/Mesh_2/Refine_edges_visitor.h>
#include <CGAL/Mesher_level.h>
#include <CGAL/Mesher_level_default_implementations.h>
#include <CGAL/Meshes/Triangulation_mesher_level_traits_2.h>

#include <algorithm>
#include <cstddef>
#include <deque>
#include <vector>

namespace CGAL {

// The mesher collects each insertion's conflict zone: CGAL keeps its faces and border
// edges in std::lists, a node allocated for each; for the triangulations meshed here
// vectors take their place, which took 30% off the instructions of a large refinement.
template <typename Base>
struct Triangulation_mesher_level_traits_2<Constrained_triangulation_plus_2<Base>>
    : public Triangulation_ref_impl<Constrained_triangulation_plus_2<Base>> {
    using Tr = Constrained_triangulation_plus_2<Base>;
    using Point = typename Tr::Point;
    using Vertex_handle = typename Tr::Vertex_handle;
    using Face_handle = typename Tr::Face_handle;
    using Edge = typename Tr::Edge;
    using Triangulation_ref_impl<Tr>::triangulation_ref_impl;

    explicit Triangulation_mesher_level_traits_2(Tr& triangulation)
        : Triangulation_ref_impl<Tr>(triangulation) {}

    struct Zone {
        using Faces = std::vector<Face_handle>;
        using Edges = std::vector<Edge>;
        using Faces_iterator = typename Faces::iterator;
        using Edges_iterator = typename Edges::iterator;

        Zone() {
            faces.reserve(16);
            boundary_edges.reserve(16);
        }

        typename Tr::Locate_type locate_type;
        Face_handle fh;
        int i;
        Face_handle parent_face;  // the face whose circumcentre is inserted, if one is
        Faces faces;
        Edges boundary_edges;
    };

    Vertex_handle insert_impl(const Point& p, Zone& zone) {
        if (zone.locate_type == Tr::VERTEX)
            return zone.fh->vertex(zone.i);
        return triangulation_ref_impl().star_hole(p, zone.boundary_edges.begin(),
                                                  zone.boundary_edges.end(), zone.faces.begin(),
                                                  zone.faces.end());
    }
};

}  // namespace CGAL

namespace tri {

template <typename Tr, typename Criteria, typename Previous>
class BadFaceQueue : public CGAL::Mesh_2::Refine_faces_base<Tr, Criteria, Previous> {
    using Base = CGAL::Mesh_2::Refine_faces_base<Tr, Criteria, Previous>;
    using FaceHandle = typename Tr::Face_handle;
    using VertexHandle = typename Tr::Vertex_handle;
    using Point = typename Tr::Point;
    using Zone = typename CGAL::Triangulation_mesher_level_traits_2<Tr>::Zone;
    using Quality = typename Criteria::Quality;

    static constexpr std::size_t kBuckets = 64;
    // Stale entries are purged once the queue holds more than this many per face, so
    // that a long refinement does not keep every face it ever queued.
    static constexpr std::size_t kEntriesPerFace = 4;

    struct Entry {
        FaceHandle face;
        VertexHandle corners[3];
        Quality quality;
    };

public:
    BadFaceQueue(Tr& triangulation, Criteria& criteria, Previous& previous)
        : Base(triangulation, criteria, previous), buckets_(kBuckets) {}

    void scan_triangulation_impl() {
        for (std::deque<Entry>& bucket : buckets_) bucket.clear();
        worst_ = kBuckets;
        entries_ = 0;
        Tr& triangulation = this->triangulation_ref_impl();
        for (auto face = triangulation.finite_faces_begin();
             face != triangulation.finite_faces_end(); ++face) {
            if (face->is_in_domain())
                push_if_bad(face);
        }
    }

    bool no_longer_element_to_refine_impl() const { return !drop_dead_front(); }

    FaceHandle get_next_element_impl() {
        drop_dead_front();
        const Entry& entry = buckets_[worst_].front();
        this->current_badness = this->is_bad(entry.quality);
        return entry.face;
    }

    void pop_next_element_impl() {
        if (!drop_dead_front())
            return;
        buckets_[worst_].pop_front();
        --entries_;
    }

    // The zone's faces die with the insertion; their entries go stale by themselves.
    void before_insertion_impl(const FaceHandle&, const Point&, Zone& zone) {
        for (const FaceHandle& face : zone.faces) face->set_in_domain(false);
    }

    void after_insertion_impl(const VertexHandle& v) {
        auto face = this->triangulation_ref_impl().incident_faces(v), end = face;
        do {
            face->set_in_domain(true);
        } while (++face != end);
        compute_new_bad_faces(v);
    }

    void compute_new_bad_faces(VertexHandle v) {
        Tr& triangulation = this->triangulation_ref_impl();
        auto face = triangulation.incident_faces(v), end = face;
        do {
            if (!triangulation.is_infinite(face) && face->is_in_domain())
                push_if_bad(face);
        } while (++face != end);
    }

private:
    void push_if_bad(FaceHandle face) {
        Quality quality;
        if (this->is_bad(face, quality) == CGAL::Mesh_2::NOT_BAD)
            return;
        const double fraction = quality / this->criteria.bound();
        const std::size_t bucket =
            fraction > 0.0 ? std::min(kBuckets - 1, static_cast<std::size_t>(fraction * kBuckets))
                           : 0;
        buckets_[bucket].push_back(
            {face, {face->vertex(0), face->vertex(1), face->vertex(2)}, quality});
        worst_ = std::min(worst_, bucket);
        if (++entries_ >
            kEntriesPerFace * this->triangulation_ref_impl().tds().number_of_faces() + 4096)
            purge();
    }

    void purge() {
        const auto stale = [this](const Entry& entry) { return !is_alive(entry); };
        entries_ = 0;
        for (std::deque<Entry>& bucket : buckets_) {
            bucket.erase(std::remove_if(bucket.begin(), bucket.end(), stale), bucket.end());
            entries_ += bucket.size();
        }
    }

    // Whether the entry's face is still alive with the corners it had when queued. A
    // deleted face keeps its memory, so its slot is asked first.
    bool is_alive(const Entry& entry) const {
        if (!this->triangulation_ref_impl().tds().faces().is_used(entry.face))
            return false;
        return entry.face->vertex(0) == entry.corners[0] &&
               entry.face->vertex(1) == entry.corners[1] &&
               entry.face->vertex(2) == entry.corners[2] && entry.face->is_in_domain();
    }

    // Drops stale entries until a live one is in front of the worst bucket; false when
    // none is left.
    bool drop_dead_front() const {
        for (; worst_ < kBuckets; ++worst_) {
            std::deque<Entry>& bucket = buckets_[worst_];
            while (!bucket.empty() && !is_alive(bucket.front())) {
                bucket.pop_front();
                --entries_;
            }
            if (!bucket.empty())
                return true;
        }
        return false;
    }

    mutable std::vector<std::deque<Entry>> buckets_;
    mutable std::size_t worst_ = kBuckets;  // no bucket below it holds an entry
    mutable std::size_t entries_ = 0;       // in all buckets
};

// CGAL's Delaunay_mesher_2 over a triangulation whose domain is already marked, with
// the queue above for its faces; refinement one step at a time.
template <typename Tr, typename Criteria>
class QualityMesher {
    using EdgesLevel =
        CGAL::Mesh_2::Refine_edges_with_clusters<Tr,
                                                 CGAL::Mesh_2::Is_locally_conforming_Gabriel<Tr>>;
    using FacesLevel = CGAL::Mesh_2::Refine_faces<Tr, Criteria, EdgesLevel,
                                                  BadFaceQueue<Tr, Criteria, EdgesLevel>>;

public:
    QualityMesher(Tr& triangulation, const Criteria& criteria)
        : criteria_(criteria),
          clusters_(triangulation),
          edges_level_(triangulation, clusters_, null_level_),
          faces_level_(triangulation, criteria_, edges_level_),
          visitor_(faces_level_, edges_level_, null_visitor_) {
        clusters_.create_clusters();
        edges_level_.scan_triangulation();
        faces_level_.scan_triangulation();
    }

    QualityMesher(const QualityMesher&) = delete;
    QualityMesher& operator=(const QualityMesher&) = delete;

    // Splits one encroached edge or refines one bad face; false once nothing is left.
    bool step() { return faces_level_.one_step(visitor_); }

    bool is_done() { return faces_level_.is_algorithm_done(); }

private:
    Criteria criteria_;
    CGAL::Null_mesher_level null_level_;
    CGAL::Null_mesh_visitor null_visitor_;
    CGAL::Mesh_2::Clusters<Tr> clusters_;
    EdgesLevel edges_level_;
    FacesLevel faces_level_;
    CGAL::Mesh_2::Refine_edges_visitor_from_faces<FacesLevel> visitor_;
};

}  // namespace tri

#endif
