-- Approximate reference growth curves of eight dog breeds for their first year,
-- drawn from general published growth data: body weight in kg at weeks 0, 2,
-- ..., 52, one row per week. Each curve starts at a typical birth weight and
-- never falls. The small breeds are close to their adult weight by nine to ten
-- months; the giant breeds (Great Dane, Newfoundland) are still growing at one
-- year. The adult weights they head for lie within the ranges of Dog Breeds.
-- They are a guide for comparison, not a standard for any one animal.
-- The program reads the rows in order of [Week], whatever order they are
-- stored in.

INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES ( 0,  0.60,  0.60,  0.45,  0.30,  0.25,  0.18,  0.15,  0.12);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES ( 2,  1.20,  1.16,  0.97,  0.65,  0.53,  0.38,  0.29,  0.21);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES ( 4,  2.18,  2.04,  1.83,  1.22,  0.97,  0.68,  0.50,  0.33);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES ( 6,  3.62,  3.32,  3.06,  2.05,  1.60,  1.09,  0.77,  0.48);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES ( 8,  5.57,  5.03,  4.67,  3.13,  2.39,  1.60,  1.10,  0.65);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (10,  8.05,  7.18,  6.60,  4.45,  3.31,  2.19,  1.46,  0.83);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (12, 11.01,  9.74,  8.76,  5.94,  4.32,  2.81,  1.84,  1.02);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (14, 14.38, 12.66, 11.05,  7.53,  5.36,  3.43,  2.22,  1.19);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (16, 18.06, 15.84, 13.36,  9.15,  6.38,  4.04,  2.59,  1.36);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (18, 21.92, 19.20, 15.61, 10.74,  7.35,  4.60,  2.92,  1.51);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (20, 25.86, 22.65, 17.73, 12.25,  8.25,  5.11,  3.22,  1.65);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (22, 29.77, 26.09, 19.67, 13.65,  9.07,  5.56,  3.49,  1.77);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (24, 33.56, 29.45, 21.43, 14.92,  9.78,  5.95,  3.73,  1.87);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (26, 37.17, 32.68, 22.98, 16.05, 10.41,  6.29,  3.93,  1.96);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (28, 40.56, 35.72, 24.33, 17.04, 10.94,  6.57,  4.10,  2.04);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (30, 43.68, 38.56, 25.49, 17.91, 11.40,  6.81,  4.24,  2.10);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (32, 46.53, 41.17, 26.49, 18.65, 11.78,  7.01,  4.36,  2.16);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (34, 49.11, 43.54, 27.34, 19.28, 12.11,  7.18,  4.46,  2.20);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (36, 51.42, 45.69, 28.05, 19.82, 12.37,  7.31,  4.54,  2.24);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (38, 53.47, 47.61, 28.64, 20.27, 12.59,  7.42,  4.61,  2.27);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (40, 55.28, 49.33, 29.14, 20.65, 12.78,  7.51,  4.66,  2.29);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (42, 56.88, 50.84, 29.56, 20.97, 12.93,  7.59,  4.70,  2.31);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (44, 58.27, 52.18, 29.90, 21.23, 13.05,  7.65,  4.74,  2.33);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (46, 59.49, 53.36, 30.18, 21.45, 13.15,  7.69,  4.77,  2.34);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (48, 60.54, 54.39, 30.42, 21.64, 13.24,  7.73,  4.80,  2.35);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (50, 61.46, 55.29, 30.61, 21.79, 13.30,  7.77,  4.82,  2.36);
INSERT INTO [Puppy Curves] ([Week], [Great Dane], [Newfoundland], [Labrador], [Bulldog], [Cocker Spaniel], [Fox Terrier], [Pekingese], [Pomeranian]) VALUES (52, 62.25, 56.07, 30.77, 21.91, 13.36,  7.79,  4.83,  2.37);
