-- The practice's own details: the single row the reports print in their
-- heading and from which a new case takes its default telephone number.
-- The practice is invented; the numbers are in a range kept for fiction.
INSERT INTO [Personal] ([Surgery], [Address 1], [Address 2], [Tel No], [Fax No], [e-mail])
VALUES ('Tollmere Veterinary Surgery', '14 Alder Row', 'Lindow Vale, Tollmere', '01632 960418', '01632 960419',
        'surgery@example.com');
